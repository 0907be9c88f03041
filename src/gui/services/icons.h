#pragma once

#include <QIcon>
#include <QPixmap>

namespace qv70 {

// The program's own 16 x 16 icons for the toolbar and the menus, drawn in
// code in one style: a dark outline, flat fills, one accent colour per command.
enum class Icon { Open, Save, CopyGraph, ObtainData, Qv70Setting, SetReport, Help, About, Exit };
enum class IconState { Normal, Hot, Disabled };

constexpr int kIconSize = 16;

QPixmap DrawIcon(Icon icon, IconState state);
// Normal, hot (QIcon::Active) and disabled icons together.
QIcon CommandIcon(Icon icon);

// The About box's product band: the instrument and the product name on a
// gradient, `size` in pixels.
QPixmap DrawProductBand(const QSize& size);
// The About box's own window icon, and the program's (16 and 32 pixels).
QIcon AboutIcon();
QIcon ProgramIcon();

}  // namespace qv70
