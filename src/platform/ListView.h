#pragma once
#include <QAbstractListModel>
#include <QStringList>
#include <QTreeView>

// The list view control as the program uses it: one column of texts under a
// column header. The texts live in a model, so that tens of thousands of
// items are listed at once.
class ListView : public QTreeView {
    Q_OBJECT
public:
    explicit ListView(const QString& columnHeader, QWidget* parent = nullptr);

    QString ColumnHeader() const;
    int Count() const { return static_cast<int>(m_model.texts.size()); }
    QString ItemText(int index) const { return m_model.texts.value(index); }
    QStringList Items() const { return m_model.texts; }
    // Replaces every item by one item per text, in order.
    void SetItems(const QStringList& texts);
    void Clear() { SetItems({}); }
    // The row of the selected item, or -1 when no item is selected.
    int SelectedIndex() const;

signals:
    // A click or a double click on an item.
    void ItemClick();
    void ItemDblClick();

private:
    class Model : public QAbstractListModel {
    public:
        QStringList texts;
        QString header;
        int rowCount(const QModelIndex& parent) const override
        {
            return parent.isValid() ? 0 : static_cast<int>(texts.size());
        }
        QVariant data(const QModelIndex& index, int role) const override;
        QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
        void reset(const QStringList& replacement);
    };
    Model m_model;
};
