#pragma once

#include <QImage>
#include <QPageLayout>
#include <QWidget>
#include <functional>
#include <memory>

#include "print/Postcard.h"

class QPainter;
class QPaintDevice;

namespace orivel {

class PageRenderer;

// Where a finished page goes: each call is one print job of one page.
class PagePrinter {
 public:
  using PaintPage = std::function<void(QPainter&, const QPaintDevice&)>;
  virtual ~PagePrinter() = default;
  // Opens a job with `layout`, lets `paint` draw the page on a painter already begun on the
  // device, and closes the job. False when no job went through.
  virtual bool printPage(const QPageLayout& layout, const PaintPage& paint) = 0;
};

// The printer in use: the default printer through QPrinter, unless a test installed its own.
PagePrinter& pagePrinter();
// Installs a printer (nullptr restores the default one). The caller keeps ownership.
void setPagePrinter(PagePrinter* printer);

}  // namespace orivel

// The report form: it is never shown; it holds the composed postcard and lays out its page.
class TQRFM final : public QWidget {
  Q_OBJECT
 public:
  explicit TQRFM(QWidget* parent = nullptr);
  ~TQRFM() override;

  // The last composed postcard (the design state before the first composition).
  orivel::Postcard Card = orivel::Postcard::design();
  orivel::PostcardBlock& QRname = Card.QRname;
  orivel::PostcardBlock& QRaddress = Card.QRaddress;
  orivel::PostcardBlock& QRzip_code = Card.QRzip_code;
  orivel::PostcardBlock& QRu_name = Card.QRu_name;
  orivel::PostcardBlock& QRu_address = Card.QRu_address;
  orivel::PostcardBlock& QRu_zip_code = Card.QRu_zip_code;

  // 148 x 110 mm, portrait, with the report's margins; painted in full-page coordinates.
  static QPageLayout pageLayout();

  // Draws the six blocks with a painter begun on `device`, from the page's top-left corner,
  // design pixels scaled to the device's resolution.
  void renderPage(QPainter& painter, const QPaintDevice& device);
  // The page as an image, one design pixel per pixel times `devicePixelRatio`.
  QImage pageImage(qreal devicePixelRatio = 1.0);
  QImage pageImage(const orivel::Postcard& card, qreal devicePixelRatio);

  // Builds the page and hands it to the preview hook; returns without waiting.
  void Preview();
  // Sends the page to the default printer as one job; false when it did not go through.
  bool Print();

  // The preview hook: shows the page in the preview window, which stays modeless.
  void QuickRep1Preview(const QImage& page);

 private:
  std::unique_ptr<orivel::PageRenderer> renderer_;
};

extern TQRFM* QRFM;
