#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "print/PostcardReport.h"
#include "print/PrintService.h"

class QPainter;
class QPaintDevice;

// The report form: it is never shown; it holds the composed postcard, lays out its page,
// hands the page to the preview and prints it through the print service.
class TQRFM final : public QWidget, public orivel::PostcardReport {
  Q_OBJECT
 public:
  // Shows a built page in the preview window; `source` draws the same card at another
  // pixel ratio, for zooming.
  using PageSource = std::function<QImage(qreal pixelRatio)>;
  using PreviewHook = std::function<void(const QImage& page, PageSource source)>;

  explicit TQRFM(orivel::PrintService& printing, QWidget* parent = nullptr);
  ~TQRFM() override;

  // Where Print() sends the card (a printer, one job a call); the caller keeps it.
  void setPrinter(orivel::PrintSink* printer) { printer_ = printer; }
  // The preview window: its pixel ratio sizes the page, `hook` shows it.
  void setPreview(QWidget* window, PreviewHook hook);

  // The last composed postcard (the design state before the first composition).
  orivel::Postcard Card = orivel::Postcard::design();
  orivel::PostcardBlock& QRname = Card.QRname;
  orivel::PostcardBlock& QRaddress = Card.QRaddress;
  orivel::PostcardBlock& QRzip_code = Card.QRzip_code;
  orivel::PostcardBlock& QRu_name = Card.QRu_name;
  orivel::PostcardBlock& QRu_address = Card.QRu_address;
  orivel::PostcardBlock& QRu_zip_code = Card.QRu_zip_code;

  orivel::Postcard& card() override { return Card; }

  // The card as the addressee holds it, upright, with its outline and the postal code frame
  // (which only the screen shows), one design pixel per pixel times `devicePixelRatio`.
  QImage cardImage(const orivel::Postcard& card, qreal devicePixelRatio);

  // Builds the page and hands it to the preview hook; returns without waiting.
  void Preview() override;
  // Sends the page to the printer as one job; false when it did not go through.
  bool Print() override;
  bool PrintShown() override;
  QString printFailure() const override;

  // The preview hook: shows the page in the preview window, which stays modeless.
  void QuickRep1Preview(const QImage& page);

 private:
  orivel::PrintService& printing_;
  orivel::PrintSink* printer_ = nullptr;
  QWidget* previewWindow_ = nullptr;
  std::optional<orivel::Postcard> shown_;  // the card last handed to the preview
  PreviewHook previewHook_;
};
