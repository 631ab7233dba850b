#pragma once

namespace orivel {

// Where a drawn page goes. A PDF file maps glyphs back to characters through the face's
// character map only, so the vertical forms would read as nothing: there each of them gets
// the plain glyph of its character beneath it in invisible ink, which keeps the text
// searchable. Paper and screens get no hidden text: transparency may make a print
// pipeline rasterise the page. A screen also shows the card's outline and the postal code
// frame that the real card has printed in red; paper and PDF files never get them.
enum class PageTarget { Paper, PdfFile, Screen };

}  // namespace orivel
