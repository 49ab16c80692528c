#include "panes/CObjectTreeModel.h"

#include "controls/CObjectIcons.h"
#include "panes/CObjectPlacement.h"

CObjectTreeModel::CObjectTreeModel(QObject* parent) : QAbstractItemModel(parent) {
    MakeCategories();
}

void CObjectTreeModel::MakeCategories() {
    m_Categories.clear();
    for (const QString& name : CObjectPlacement::CategoryNames()) {
        m_Categories.push_back({name, {}});
    }
    m_RootObjects.clear();
    m_LastAppended = QModelIndex();
}

void CObjectTreeModel::Reset(const std::vector<SEntry>& objects) {
    beginResetModel();
    MakeCategories();
    // Indexes made before endResetModel() are still valid afterwards: they
    // only carry rows and the category, which the reset does not change.
    for (const SEntry& object : objects) {
        AppendWithoutSignals(object);
    }
    endResetModel();
}

QModelIndex CObjectTreeModel::Append(const SEntry& object) {
    const int place = CObjectPlacement::PlaceOf(object.type);
    if (place == CObjectPlacement::kHidden) {
        return QModelIndex();
    }
    const QModelIndex parentIndex = place == CObjectPlacement::kRoot ? QModelIndex() : CategoryIndex(place);
    const int row = rowCount(parentIndex);
    beginInsertRows(parentIndex, row, row);
    const QModelIndex added = AppendWithoutSignals(object);
    endInsertRows();
    return added;
}

QModelIndex CObjectTreeModel::AppendWithoutSignals(const SEntry& object) {
    const int place = CObjectPlacement::PlaceOf(object.type);
    if (place == CObjectPlacement::kHidden) {
        return QModelIndex();
    }
    if (place == CObjectPlacement::kRoot) {
        m_RootObjects.push_back(object);
        const int row = CategoryCount() + static_cast<int>(m_RootObjects.size()) - 1;
        m_LastAppended = createIndex(row, 0, kTopLevel);
    } else {
        std::vector<SEntry>& objects = m_Categories[static_cast<size_t>(place)].objects;
        objects.push_back(object);
        m_LastAppended = createIndex(static_cast<int>(objects.size()) - 1, 0, static_cast<quintptr>(place));
    }
    return m_LastAppended;
}

QModelIndex CObjectTreeModel::Find(const QString& name) const {
    for (int category = 0; category < CategoryCount(); ++category) {
        const std::vector<SEntry>& objects = m_Categories[static_cast<size_t>(category)].objects;
        for (size_t row = 0; row < objects.size(); ++row) {
            if (objects[row].name == name) {
                return createIndex(static_cast<int>(row), 0, static_cast<quintptr>(category));
            }
        }
    }
    for (size_t row = 0; row < m_RootObjects.size(); ++row) {
        if (m_RootObjects[row].name == name) {
            return createIndex(CategoryCount() + static_cast<int>(row), 0, kTopLevel);
        }
    }
    return QModelIndex();
}

QModelIndex CObjectTreeModel::CategoryIndex(int category) const {
    if (category < 0 || category >= CategoryCount()) {
        return QModelIndex();
    }
    return createIndex(category, 0, kTopLevel);
}

int CObjectTreeModel::CategoryOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) {
        return -1;
    }
    if (index.internalId() != kTopLevel) {
        return static_cast<int>(index.internalId());
    }
    return index.row() < CategoryCount() ? index.row() : -1;
}

bool CObjectTreeModel::IsCategory(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && index.internalId() == kTopLevel && index.row() < CategoryCount();
}

const CObjectTreeModel::SEntry* CObjectTreeModel::EntryAt(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) {
        return nullptr;
    }
    if (index.internalId() == kTopLevel) {
        const int rootRow = index.row() - CategoryCount();
        return rootRow >= 0 && rootRow < static_cast<int>(m_RootObjects.size())
                   ? &m_RootObjects[static_cast<size_t>(rootRow)]
                   : nullptr;
    }
    const std::vector<SEntry>& objects = m_Categories[static_cast<size_t>(index.internalId())].objects;
    return index.row() < static_cast<int>(objects.size()) ? &objects[static_cast<size_t>(index.row())] : nullptr;
}

QString CObjectTreeModel::ObjectName(const QModelIndex& index) const {
    const SEntry* entry = EntryAt(index);
    return entry != nullptr ? entry->name : QString();
}

QModelIndex CObjectTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) {
        return QModelIndex();
    }
    if (!parent.isValid()) {
        return createIndex(row, column, kTopLevel);
    }
    return createIndex(row, column, static_cast<quintptr>(parent.row()));
}

QModelIndex CObjectTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kTopLevel) {
        return QModelIndex();
    }
    return createIndex(static_cast<int>(child.internalId()), 0, kTopLevel);
}

int CObjectTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return CategoryCount() + static_cast<int>(m_RootObjects.size());
    }
    if (parent.column() != 0 || !IsCategory(parent)) {
        return 0;
    }
    return static_cast<int>(m_Categories[static_cast<size_t>(parent.row())].objects.size());
}

int CObjectTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant CObjectTreeModel::data(const QModelIndex& index, int role) const {
    if (IsCategory(index)) {
        switch (role) {
        case Qt::DisplayRole:
            return m_Categories[static_cast<size_t>(index.row())].name;
        case Qt::DecorationRole:
            return CObjectIcons::Category();
        default:
            return QVariant();
        }
    }
    const SEntry* entry = EntryAt(index);
    if (entry == nullptr) {
        return QVariant();
    }
    switch (role) {
    case Qt::DisplayRole:
        return entry->name;
    case Qt::DecorationRole:
        return CObjectIcons::ForType(entry->type);
    default:
        return QVariant();
    }
}

Qt::ItemFlags CObjectTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!IsCategory(index)) {
        flags |= Qt::ItemNeverHasChildren;
    }
    return flags;
}
