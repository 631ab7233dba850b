#pragma once

#include <QWidget>

// The preview window: one postcard at a time, stepping around the checked rows.
class TPrevwin final : public QWidget {
  Q_OBJECT
 public:
  explicit TPrevwin(QWidget* parent = nullptr);
};

extern TPrevwin* Prevwin;
