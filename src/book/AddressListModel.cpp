#include "book/AddressListModel.h"

#include "common/Codec.h"

namespace orivel {

AddressListModel::AddressListModel(AddressBook& book, QObject* parent)
    : QAbstractListModel(parent), book_(book) {
  book_.setObserver(this);
}

AddressListModel::~AddressListModel() {
  book_.setObserver(nullptr);
}

int AddressListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : book_.count();
}

QVariant AddressListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= book_.count()) return {};
  switch (role) {
    case Qt::DisplayRole:
      return codec::toQString(book_.entry(index.row()).name);
    case Qt::CheckStateRole:
      return book_.isChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
    default:
      return {};
  }
}

bool AddressListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::CheckStateRole) return false;
  book_.setChecked(index.row(), value.toInt() == Qt::Checked);
  return true;
}

Qt::ItemFlags AddressListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
         Qt::ItemNeverHasChildren;
}

void AddressListModel::beginAppendLine(int line) {
  beginInsertRows({}, line, line);
}
void AddressListModel::endAppendLine() {
  endInsertRows();
}
void AddressListModel::beginRemoveLine(int line) {
  beginRemoveRows({}, line, line);
}
void AddressListModel::endRemoveLine() {
  endRemoveRows();
}

void AddressListModel::lineChanged(int line) {
  const QModelIndex i = index(line);
  emit dataChanged(i, i, {Qt::DisplayRole, Qt::CheckStateRole});
}

void AddressListModel::beginReset() {
  beginResetModel();
}
void AddressListModel::endReset() {
  endResetModel();
}

void AddressListModel::checksChanged() {
  emit dataChanged(index(0), index(book_.count() - 1), {Qt::CheckStateRole});
}

}  // namespace orivel
