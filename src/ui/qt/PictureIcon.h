#pragma once
// Icons for the image list's pictures: an image file's bytes as they are,
// a stock picture ("folder-closed", "leaf", ...) drawn here.

#include <QIcon>

namespace qlmib::ui {
struct Picture;
}

namespace qlmib::ui::qt {

// A null icon for bytes that make no picture or an unknown stock name.
QIcon PictureIcon(const Picture& picture);

}  // namespace qlmib::ui::qt
