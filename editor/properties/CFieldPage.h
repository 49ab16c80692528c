#pragma once
// The common part of the pages made of number fields (the type pages and
// the camera page): rows of fields that each start their own undo run, the
// limits the fields apply before writing, and the typed edit of the object
// shown, after which the fields show what the object took.
//
// The page follows the document: an edit, undo or redo of its object shows
// the object's values again.

#include <QMetaObject>
#include <QString>
#include <type_traits>

#include "document/CEditorDocument.h"
#include "properties/CObjectPage.h"

class CNumberField;
class QFormLayout;
class QWidget;

class CFieldPage : public CObjectPage {
    Q_OBJECT

public:
    explicit CFieldPage(QWidget* parent = nullptr);

    void SetObject(CObjects* object, CEditorDocument& document, bool commitPrevious) override;

    // A whole number of at least `minimum` (rounded; a huge value stops at
    // the largest int).
    static int ToCount(double value, int minimum);
    // Negative values become 0.
    static float AtLeastZero(double value);
    static float Clamped(double value, float minimum, float maximum);

protected:
    // A field of this page: whole numbers step by 1 and show no decimals,
    // the others step by 0.1.
    CNumberField* NewField(bool whole, QWidget* parent = nullptr);
    // The rows of a page: labels on the left, fields as wide as they need;
    // with an owner, the page's layout, the rows at its top.
    static QFormLayout* NewForm(QWidget* owner = nullptr);
    // "label" and a new field as the next row of form.
    CNumberField* AddRow(QFormLayout& form, const QString& label, bool whole);

    template <class TObject>
    TObject* ObjectAs() const {
        return HasObject() ? dynamic_cast<TObject*>(Object()) : nullptr;
    }

    // Sets one property of the object shown when it is a TObject:
    // change(value) alters what read(object) gives, and write(object, value)
    // puts it back, as one undoable edit of the page's run. Properties whose
    // setter takes several parts (the three sizes of a box) change only the
    // part edited: the other parts keep the object's own values, not the
    // rounded ones the fields show. Then the fields show the object again.
    template <class TObject, class TRead, class TWrite, class TChange>
    void EditPart(const QString& property, TRead read, TWrite write, TChange change) {
        TObject* object = ObjectAs<TObject>();
        if (object == nullptr) {
            return;
        }
        std::decay_t<std::invoke_result_t<TRead, TObject&>> value;
        {
            CSceneLock lock(Document().Scene());
            value = read(*object);
        }
        change(value);
        Document().EditProperty(*object, property, EditRun(), read, write, value);
        Refresh();
    }

    // The same for a property set whole.
    template <class TObject, class TRead, class TWrite, class TValue>
    void Edit(const QString& property, TRead read, TWrite write, const TValue& value) {
        EditPart<TObject>(property, read, write, [&value](auto& current) { current = value; });
    }

private:
    void OnObjectEdited(CObjects* object);

    QMetaObject::Connection m_EditedConnection;
};
