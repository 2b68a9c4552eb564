#include "ListView.h"

#include <QHeaderView>

QVariant ListView::Model::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= texts.size())
        return QVariant();
    return texts.at(index.row());
}

QVariant ListView::Model::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return header;
    return QVariant();
}

void ListView::Model::reset(const QStringList& replacement)
{
    beginResetModel();
    texts = replacement;
    endResetModel();
}

ListView::ListView(const QString& columnHeader, QWidget* parent) : QTreeView(parent)
{
    m_model.header = columnHeader;
    setModel(&m_model);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QAbstractItemView::clicked, this, [this] { emit ItemClick(); });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { emit ItemDblClick(); });
}

QString ListView::ColumnHeader() const { return m_model.header; }

void ListView::SetItems(const QStringList& texts) { m_model.reset(texts); }

int ListView::SelectedIndex() const
{
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}
