#pragma once

#include <QLineEdit>
#include <string>

namespace orivel {

// A one-line edit over code page 932 text. It remembers the bytes it was filled with, so
// that text nobody edited is given back byte for byte, even where it holds bytes that do
// not decode; only typed text is encoded, and never with a silent replacement.
class Cp932LineEdit final : public QLineEdit {
  Q_OBJECT
 public:
  explicit Cp932LineEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}

  void setBytes(const std::string& bytes);
  // True while the box still shows what setBytes put there.
  bool isUnedited() const { return filled_ && text() == shown_; }
  // The first typed character that code page 932 cannot hold, or an empty string.
  QString firstUnencodable() const;
  // The box's text in code page 932. Call firstUnencodable() first where the user typed.
  std::string bytes() const;

 private:
  std::string bytes_;
  QString shown_;
  bool filled_ = false;
};

}  // namespace orivel
