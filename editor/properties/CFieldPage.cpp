#include "properties/CFieldPage.h"

#include <QFormLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "controls/CNumberField.h"

CFieldPage::CFieldPage(QWidget* parent) : CObjectPage(parent) {}

void CFieldPage::SetObject(CObjects* object, CEditorDocument& document, bool commitPrevious) {
    disconnect(m_EditedConnection);
    m_EditedConnection = connect(&document, &CEditorDocument::ObjectEdited, this, &CFieldPage::OnObjectEdited);
    CObjectPage::SetObject(object, document, commitPrevious);
}

void CFieldPage::OnObjectEdited(CObjects* object) {
    if (object != nullptr && object == Object()) {
        Refresh();
    }
}

int CFieldPage::ToCount(double value, int minimum) {
    // Compared as doubles first: converting a value beyond int is undefined.
    constexpr double kLargest = std::numeric_limits<int>::max();
    if (std::isnan(value) || value < minimum) {
        return minimum;
    }
    return static_cast<int>(std::lround(std::min(value, kLargest)));
}

float CFieldPage::AtLeastZero(double value) {
    return value > 0.0 ? static_cast<float>(value) : 0.0f;
}

float CFieldPage::Clamped(double value, float minimum, float maximum) {
    if (std::isnan(value)) {
        return minimum;
    }
    return static_cast<float>(std::clamp(value, static_cast<double>(minimum), static_cast<double>(maximum)));
}

CNumberField* CFieldPage::NewField(bool whole, QWidget* parent) {
    auto* field = new CNumberField(parent != nullptr ? parent : this);
    if (whole) {
        field->SetDecimals(0);
        field->SetStep(1.0);
    } else {
        field->SetStep(0.1);
    }
    TrackRuns(field);
    return field;
}

QFormLayout* CFieldPage::NewForm(QWidget* owner) {
    auto* form = new QFormLayout();
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (owner != nullptr) {
        // The rows stay at the top of a taller page.
        auto* page = new QVBoxLayout(owner);
        page->addLayout(form);
        page->addStretch(1);
    }
    return form;
}

CNumberField* CFieldPage::AddRow(QFormLayout& form, const QString& label, bool whole) {
    CNumberField* field = NewField(whole);
    form.addRow(label, field);
    return field;
}
