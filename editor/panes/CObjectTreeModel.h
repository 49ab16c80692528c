#pragma once
// The object list's tree as a Qt model: the six categories at the root, each
// holding the objects of its kind in scene order, then the trajectories at
// the root. An object item's text is the object's name, which is unique in
// a scene and links the item to the object. The model holds names and
// classes only, never the objects, so it cannot outlive one.

#include <QAbstractItemModel>
#include <QString>
#include <vector>

class CObjectTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    // An object as the tree knows it.
    struct SEntry {
        QString name;
        QString type;
    };

    explicit CObjectTreeModel(QObject* parent = nullptr);

    // Replaces every item: the categories anew, then each object at the end
    // of its place. Objects of classes the list does not show are left out.
    void Reset(const std::vector<SEntry>& objects);
    // Adds one object at the end of its place; the new item, or an invalid
    // index when its class is not shown.
    QModelIndex Append(const SEntry& object);

    // The object item with that name: the categories' children in order,
    // then the root; invalid when there is none.
    QModelIndex Find(const QString& name) const;
    QModelIndex CategoryIndex(int category) const;
    // The category an item belongs to (its own index for a category), or -1
    // for an object at the root or an invalid index.
    int CategoryOf(const QModelIndex& index) const;
    bool IsCategory(const QModelIndex& index) const;
    // The object's name; empty for a category or an invalid index.
    QString ObjectName(const QModelIndex& index) const;
    // The last item appended to a place, as an insertion would have left
    // the selection; invalid without objects.
    QModelIndex LastAppended() const { return m_LastAppended; }

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // internalId of the root's items; a child's is its category's row.
    static constexpr quintptr kTopLevel = ~quintptr(0);

    struct SCategory {
        QString name;
        std::vector<SEntry> objects;
    };

    int CategoryCount() const { return static_cast<int>(m_Categories.size()); }
    const SEntry* EntryAt(const QModelIndex& index) const;
    void MakeCategories();
    QModelIndex AppendWithoutSignals(const SEntry& object);

    std::vector<SCategory> m_Categories;
    std::vector<SEntry> m_RootObjects;
    QModelIndex m_LastAppended;
};
