#pragma once

#include <cstdint>

// The parts of the Windows metafile format the recorder writes: record
// functions, the header's figures and the constants of their parameters.
// Every record is a 32-bit size in 16-bit words (the size field included),
// the 16-bit function, then its parameters, all little-endian.
namespace qv70::wmf {

enum Function : std::uint16_t {
  kEof = 0x0000,
  kSaveDc = 0x001E,
  kSetBkMode = 0x0102,
  kSetMapMode = 0x0103,
  kSetTextAlign = 0x012E,
  kRestoreDc = 0x0127,
  kSelectObject = 0x012D,
  kDeleteObject = 0x01F0,
  kSetBkColor = 0x0201,
  kSetTextColor = 0x0209,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kLineTo = 0x0213,
  kMoveTo = 0x0214,
  kCreatePenIndirect = 0x02FA,
  kCreateFontIndirect = 0x02FB,
  kCreateBrushIndirect = 0x02FC,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kIntersectClipRect = 0x0416,
  kEllipse = 0x0418,
  kRectangle = 0x041B,
  kPatBlt = 0x061D,
  kExtTextOut = 0x0A32,
  kStretchDib = 0x0F43,
};

// The header: type, header size in words, version, total size in words,
// object table size, largest record in words, an unused count.
inline constexpr int kHeaderBytes = 18;
inline constexpr std::uint16_t kMemoryMetafile = 1;
inline constexpr std::uint16_t kHeaderWords = 9;
inline constexpr std::uint16_t kVersion3 = 0x0300;
// Size and function of a record before its parameters.
inline constexpr int kRecordHeadWords = 3;

inline constexpr std::uint16_t kMapModeAnisotropic = 8;
inline constexpr std::uint16_t kBkTransparent = 1;
inline constexpr std::uint16_t kBkOpaque = 2;
inline constexpr std::uint16_t kAlignTopLeft = 0;

inline constexpr std::uint16_t kPenSolid = 0;
inline constexpr std::uint16_t kPenDot = 2;
inline constexpr std::uint16_t kPenNull = 5;
inline constexpr std::uint16_t kBrushSolid = 0;
inline constexpr std::uint16_t kBrushNull = 1;

inline constexpr std::uint8_t kAnsiCharset = 0;
inline constexpr std::uint8_t kGb2312Charset = 134;
inline constexpr std::uint8_t kSwissVariablePitch = 0x22;
inline constexpr int kFaceNameBytes = 32;

inline constexpr std::uint16_t kEtoClipped = 0x0004;
inline constexpr std::uint32_t kSrcCopy = 0x00CC0020;
inline constexpr std::uint32_t kPatCopy = 0x00F00021;
inline constexpr std::uint16_t kDibRgbColors = 0;

}  // namespace qv70::wmf
