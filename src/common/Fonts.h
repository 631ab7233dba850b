#pragma once

#include <QFont>

// The IPA faces stand in for the Windows faces: IPAPGothic for ＭＳ Ｐゴシック,
// IPAGothic for ＭＳ ゴシック, IPAPMincho for the postcard's ＭＳ Ｐ明朝.
namespace orivel::fonts {

QFont proportionalGothic(int pixelSize);  // the windows' font
QFont fixedGothic(int pixelSize);         // the address list
QFont proportionalMincho(int pixelSize);  // the postcard

}  // namespace orivel::fonts
