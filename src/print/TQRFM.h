#pragma once

#include <QWidget>

// The report form: it is never shown; it holds the composed postcard and lays out its page.
class TQRFM final : public QWidget {
  Q_OBJECT
 public:
  explicit TQRFM(QWidget* parent = nullptr);
};

extern TQRFM* QRFM;
