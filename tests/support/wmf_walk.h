#pragma once

// A reader of the Windows metafiles the recorder writes, independent of it:
// it walks every record, checks the header's figures against what it found,
// plays the object table as a metafile player does (a new object in the
// lowest free slot; only live objects selected or deleted; nothing left at
// the end) and describes each record as one line of text for tests to read.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace qv70::test {

struct WmfWalk {
  std::string error;  // empty when every check held
  std::uint16_t type = 0, headerWords = 0, version = 0, objects = 0, members = 0;
  std::uint32_t sizeWords = 0, maxRecordWords = 0;
  int recordCount = 0;
  int objectsCreated = 0;
  int slotsUsed = 0;  // the object table's size the records need
  std::uint32_t largestRecordWords = 0;
  std::vector<std::string> lines;  // every record but the end record, described
  std::vector<std::string> texts;  // the bytes of every text record

  bool ok() const { return error.empty(); }
};

namespace wmf_walk_detail {

class Cursor {
 public:
  Cursor(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t end)
      : bytes_(bytes), at_(at), end_(end) {}
  bool Has(std::size_t n) const { return at_ + n <= end_; }
  std::size_t Left() const { return end_ - at_; }
  int U16() {
    const int v = bytes_[at_] | (bytes_[at_ + 1] << 8);
    at_ += 2;
    return v;
  }
  int S16() {
    const int v = U16();
    return v >= 0x8000 ? v - 0x10000 : v;
  }
  std::uint32_t U32() {
    const std::uint32_t low = static_cast<std::uint32_t>(U16());
    return low | (static_cast<std::uint32_t>(U16()) << 16);
  }
  std::uint8_t U8() { return bytes_[at_++]; }
  std::string Text(std::size_t n) {
    std::string s(reinterpret_cast<const char*>(bytes_.data() + at_), n);
    at_ += n;
    return s;
  }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t at_;
  std::size_t end_;
};

inline std::string Hex(std::uint32_t v) {
  char b[16];
  std::snprintf(b, sizeof b, "#%06x", static_cast<unsigned>(v & 0xFFFFFF));
  return b;
}

inline std::string Colour(Cursor& c) {
  const std::uint32_t r = c.U8(), g = c.U8(), b = c.U8();
  c.U8();
  return Hex((r << 16) | (g << 8) | b);
}

inline std::string Numbers(Cursor& c, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += " " + std::to_string(c.S16());
  return s;
}

// Four 16-bit values stored bottom, right, top, left: as left top right bottom.
inline std::string EdgesBottomFirst(Cursor& c) {
  const int b = c.S16(), r = c.S16(), t = c.S16(), l = c.S16();
  return " " + std::to_string(l) + " " + std::to_string(t) + " " + std::to_string(r) + " " +
         std::to_string(b);
}

inline std::string Points(Cursor& c, std::uint32_t words, std::string& error) {
  const int n = c.S16();
  if (words != 4 + 2u * static_cast<std::uint32_t>(n))
    error = "point count " + std::to_string(n) + " against size";
  std::string s;
  for (int i = 0; i < n && c.Has(4); ++i) {
    const int x = c.S16();
    const int y = c.S16();
    s += " " + std::to_string(x) + "," + std::to_string(y);
  }
  return s;
}

}  // namespace wmf_walk_detail

inline WmfWalk WalkWmf(const std::vector<std::uint8_t>& bytes) {
  using namespace wmf_walk_detail;
  WmfWalk w;
  if (bytes.size() < 18 || bytes.size() % 2 != 0) {
    w.error = "no header";
    return w;
  }
  Cursor h(bytes, 0, 18);
  w.type = static_cast<std::uint16_t>(h.U16());
  w.headerWords = static_cast<std::uint16_t>(h.U16());
  w.version = static_cast<std::uint16_t>(h.U16());
  w.sizeWords = h.U32();
  w.objects = static_cast<std::uint16_t>(h.U16());
  w.maxRecordWords = h.U32();
  w.members = static_cast<std::uint16_t>(h.U16());

  std::vector<bool> live;
  int saveDepth = 0;
  bool sawEnd = false;
  std::size_t at = 18;
  const auto fail = [&](const std::string& why) {
    if (w.error.empty()) w.error = "record " + std::to_string(w.recordCount) + ": " + why;
  };
  const auto create = [&](const std::string& what) {
    std::size_t slot = 0;
    while (slot < live.size() && live[slot]) ++slot;
    if (slot == live.size()) live.push_back(false);
    live[slot] = true;
    ++w.objectsCreated;
    w.slotsUsed = std::max(w.slotsUsed, static_cast<int>(live.size()));
    return what + " " + std::to_string(slot);
  };
  const auto liveSlot = [&](int slot) {
    return slot >= 0 && slot < static_cast<int>(live.size()) && live[slot];
  };

  while (at < bytes.size() && w.error.empty()) {
    if (sawEnd) {
      fail("bytes after the end record");
      break;
    }
    if (at + 6 > bytes.size()) {
      fail("record head cut");
      break;
    }
    Cursor head(bytes, at, at + 6);
    const std::uint32_t words = head.U32();
    const int function = head.U16();
    if (words < 3 || at + 2ull * words > bytes.size()) {
      fail("size " + std::to_string(words) + " out of the file");
      break;
    }
    w.largestRecordWords = std::max(w.largestRecordWords, words);
    Cursor c(bytes, at + 6, at + 2ull * words);
    const auto fixed = [&](std::uint32_t expected) {
      if (words != expected) fail("size " + std::to_string(words) + " where " + std::to_string(expected));
    };
    std::string line;
    switch (function) {
      case 0x0000:
        fixed(3);
        sawEnd = true;
        break;
      case 0x0103:
        fixed(4);
        line = "map-mode" + Numbers(c, 1);
        break;
      case 0x020B:
        fixed(5);
        line = "window-org" + Numbers(c, 2);
        break;
      case 0x020C:
        fixed(5);
        line = "window-ext" + Numbers(c, 2);
        break;
      case 0x012E:
        fixed(4);
        line = "text-align" + Numbers(c, 1);
        break;
      case 0x0102:
        fixed(4);
        line = c.U16() == 1 ? "bk-mode transparent" : "bk-mode opaque";
        break;
      case 0x0209:
        fixed(5);
        line = "text-color " + Colour(c);
        break;
      case 0x0201:
        fixed(5);
        line = "bk-color " + Colour(c);
        break;
      case 0x02FA: {
        fixed(8);
        const int style = c.U16();
        const int width = c.S16();
        c.S16();
        line = create("create-pen") +
               (style == 0   ? " solid"
                : style == 2 ? " dot"
                : style == 5 ? " null"
                             : " ?") +
               " " + std::to_string(width) + " " + Colour(c);
        break;
      }
      case 0x02FC: {
        fixed(7);
        const int style = c.U16();
        const std::string colour = Colour(c);
        c.U16();
        line = create("create-brush") + (style == 0 ? " solid " + colour : style == 1 ? " null" : " ?");
        break;
      }
      case 0x02FB: {
        fixed(3 + 9 + 16);
        const int height = c.S16(), width = c.S16(), escapement = c.S16(), orientation = c.S16();
        const int weight = c.S16();
        c.U8();
        c.U8();
        c.U8();
        const int charset = c.U8();
        c.U8();
        c.U8();
        c.U8();
        c.U8();
        std::string face = c.Text(32);
        if (face.find('\0') == std::string::npos) fail("face without its end");
        face = face.substr(0, face.find('\0'));
        if (orientation != escapement) fail("orientation apart from escapement");
        line = create("create-font") + " " + face + " " + std::to_string(height) + " " +
               std::to_string(width) + " " + std::to_string(escapement) + " " + std::to_string(weight) + " " +
               std::to_string(charset);
        break;
      }
      case 0x012D: {
        fixed(4);
        const int slot = c.S16();
        if (!liveSlot(slot)) fail("select of slot " + std::to_string(slot) + " that holds nothing");
        line = "select " + std::to_string(slot);
        break;
      }
      case 0x01F0: {
        fixed(4);
        const int slot = c.S16();
        if (!liveSlot(slot))
          fail("delete of slot " + std::to_string(slot) + " that holds nothing");
        else
          live[static_cast<std::size_t>(slot)] = false;
        line = "delete " + std::to_string(slot);
        break;
      }
      case 0x001E:
        fixed(3);
        ++saveDepth;
        line = "save-dc";
        break;
      case 0x0127:
        fixed(4);
        if (c.S16() != -1) fail("restore other than the last save");
        if (--saveDepth < 0) fail("restore without a save");
        line = "restore-dc";
        break;
      case 0x0416:
        fixed(7);
        line = "clip" + EdgesBottomFirst(c);
        break;
      case 0x0214: {
        fixed(5);
        const int y = c.S16(), x = c.S16();
        line = "move-to " + std::to_string(x) + " " + std::to_string(y);
        break;
      }
      case 0x0213: {
        fixed(5);
        const int y = c.S16(), x = c.S16();
        line = "line-to " + std::to_string(x) + " " + std::to_string(y);
        break;
      }
      case 0x0325: line = "polyline" + Points(c, words, w.error); break;
      case 0x0324: line = "polygon" + Points(c, words, w.error); break;
      case 0x041B:
        fixed(7);
        line = "rectangle" + EdgesBottomFirst(c);
        break;
      case 0x0418:
        fixed(7);
        line = "ellipse" + EdgesBottomFirst(c);
        break;
      case 0x061D: {
        fixed(9);
        const std::uint32_t rop = c.U32();
        const int height = c.S16(), width = c.S16(), y = c.S16(), x = c.S16();
        if (rop != 0x00F00021) fail("pattern operation other than PATCOPY");
        line = "fill " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) + " " +
               std::to_string(height);
        break;
      }
      case 0x0A32: {
        const int y = c.S16(), x = c.S16(), length = c.S16(), options = c.U16();
        const bool clipped = (options & 4) != 0;
        fixed(7 + (clipped ? 4u : 0u) + (static_cast<std::uint32_t>(length) + 1) / 2);
        if (options & ~4) fail("text options beyond clipping");
        line = "text " + std::to_string(x) + " " + std::to_string(y);
        if (clipped) line += " clip" + Numbers(c, 4);
        if (!c.Has(static_cast<std::size_t>(length))) break;
        const std::string text = c.Text(static_cast<std::size_t>(length));
        w.texts.push_back(text);
        line += " \"" + text + "\"";
        break;
      }
      case 0x0F43: {
        const std::uint32_t rop = c.U32();
        const int usage = c.U16();
        const int srcHeight = c.S16(), srcWidth = c.S16(), ySrc = c.S16(), xSrc = c.S16();
        const int destHeight = c.S16(), destWidth = c.S16(), y = c.S16(), x = c.S16();
        const std::uint32_t headerSize = c.U32();
        const auto width = static_cast<std::int32_t>(c.U32());
        const auto height = static_cast<std::int32_t>(c.U32());
        const int planes = c.U16(), bits = c.U16();
        const std::uint32_t compression = c.U32(), imageSize = c.U32();
        const std::uint64_t stride = (static_cast<std::uint64_t>(width) * 3 + 3) / 4 * 4;
        if (rop != 0x00CC0020 || usage != 0) fail("bitmap not copied as RGB colours");
        if (headerSize != 40 || planes != 1 || bits != 24 || compression != 0)
          fail("bitmap not plain 24-bit");
        if (width != srcWidth || height != srcHeight || xSrc != 0 || ySrc != 0)
          fail("source not the whole bitmap");
        if (imageSize != stride * static_cast<std::uint64_t>(height) || words != 14 + 20 + imageSize / 2)
          fail("bitmap size against the record");
        line = "bitmap " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(destWidth) +
               " " + std::to_string(destHeight) + " from " + std::to_string(width) + "x" +
               std::to_string(height);
        break;
      }
      default: fail("unknown function " + Hex(static_cast<std::uint32_t>(function)));
    }
    if (!sawEnd) w.lines.push_back(line);
    ++w.recordCount;
    at += 2ull * words;
  }
  if (!w.error.empty()) return w;
  if (!sawEnd)
    w.error = "no end record";
  else if (saveDepth != 0)
    w.error = "saves left open";
  else if (std::find(live.begin(), live.end(), true) != live.end())
    w.error = "objects left undeleted";
  else if (w.type != 1 || w.headerWords != 9 || w.version != 0x0300 || w.members != 0)
    w.error = "header fields";
  else if (w.sizeWords * 2ull != bytes.size())
    w.error = "header size against the file";
  else if (w.objects != w.slotsUsed)
    w.error = "header object count against the table";
  else if (w.maxRecordWords != w.largestRecordWords)
    w.error = "header largest record against the records";
  return w;
}

}  // namespace qv70::test
