#pragma once

#include <QAbstractListModel>

#include "book/AddressBook.h"

namespace orivel {

// Shows the address book line by line: the name of slot i on line i, with its check mark.
// It never sorts. The book stays the one owner of the data; the model follows its changes.
class AddressListModel final : public QAbstractListModel, private AddressBook::Observer {
  Q_OBJECT
 public:
  explicit AddressListModel(AddressBook& book, QObject* parent = nullptr);
  ~AddressListModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  void beginAppendLine(int line) override;
  void endAppendLine() override;
  void beginRemoveLine(int line) override;
  void endRemoveLine() override;
  void lineChanged(int line) override;
  void beginReset() override;
  void endReset() override;
  void checksChanged() override;

  AddressBook& book_;
};

}  // namespace orivel
