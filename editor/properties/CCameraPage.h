#pragma once
// The "Basic" page of a camera: name, eye position, fixed angle, look-at
// position, zoom, weight, how the keys are interpolated and which way the
// camera looks, with the rows the chosen orientation uses shown and the
// others hidden.
//
// A trajectory shows on the same page: its name, interpolation, orientation
// and look-at position and object apply to it; the rows it has nothing for
// (position, angle, zoom, weight) are disabled.

#include <QString>
#include <array>
#include <vector>

#include "animation/CInterpolation.h"
#include "animation/TOrientation.h"
#include "properties/CFieldPage.h"

class CNumberField;
class QComboBox;
class QGridLayout;
class QLineEdit;

class CCameraPage : public CFieldPage {
    Q_OBJECT

public:
    static constexpr float kMinimumZoom = 1.0f;
    static constexpr float kMaximumZoom = 8.0f;
    static constexpr int kMaximumNameLength = 128;

    // The orientation combo's rows, in their order.
    struct SOrientationItem {
        const char* text;
        TOrientation orientation;
    };
    static constexpr std::array<SOrientationItem, 5> kOrientations{{{"Fixed Angle", OR_FIXED},
                                                                    {"Front", OR_FRONT},
                                                                    {"Rear", OR_REAR},
                                                                    {"Position", OR_LOOK_AT_POSITION},
                                                                    {"An Object", OR_LOOK_AT_OBJECT}}};
    // The interpolation combo's rows, in their order.
    struct SInterpolationItem {
        const char* text;
        TInterpolationMode mode;
    };
    static constexpr std::array<SInterpolationItem, 4> kInterpolations{
        {{"Hermite Spline", IM_HSPLINE}, {"B-Spline", IM_BSPLINE}, {"Linear", IM_LINEAR}, {"Step", IM_STEP}}};

    // Which of the orientation's rows an orientation uses.
    struct SOrientationRows {
        bool angle = false;
        bool lookAtPosition = false;
        bool lookAtObject = false;
    };
    static SOrientationRows RowsFor(TOrientation orientation);

    explicit CCameraPage(QWidget* parent = nullptr);

    void Refresh() override;

    QLineEdit* NameEdit() const { return m_pName; }
    CNumberField* Position(int axis) const { return m_pPosition[static_cast<size_t>(axis)]; }
    CNumberField* Angle(int axis) const { return m_pAngle[static_cast<size_t>(axis)]; }
    CNumberField* LookAtPosition(int axis) const { return m_pLookAt[static_cast<size_t>(axis)]; }
    CNumberField* Zoom() const { return m_pZoom; }
    CNumberField* Weight() const { return m_pWeight; }
    QComboBox* Interpolation() const { return m_pInterpolation; }
    QComboBox* Orientation() const { return m_pOrientation; }
    QComboBox* LookAtObject() const { return m_pLookAtObject; }

private:
    using TRow = std::array<CNumberField*, 3>;

    void BuildLayout();
    void ConnectFields();
    TRow AddVectorRow(QGridLayout& grid, int row, const QString& label, std::vector<QWidget*>& widgets,
                      QWidget* parent);
    void ShowRows(TOrientation orientation);
    void EnableCameraRows(bool camera);
    // "<none>" and the objects a camera can look at, sorted; `selected` (its
    // name) is chosen, "<none>" when empty or not there.
    void FillLookAtObjects(const QString& selected);

    void ApplyName();
    void ApplyPosition(int axis, double value);
    void ApplyAngle(int axis, double value);
    void ApplyLookAtPosition(int axis, double value);
    void ApplyZoom(double value);
    void ApplyWeight(double value);
    void ApplyInterpolation(int index);
    void ApplyOrientation(int index);
    void ApplyLookAtObject(int index);

    QLineEdit* m_pName = nullptr;
    TRow m_pPosition{};
    TRow m_pAngle{};
    TRow m_pLookAt{};
    CNumberField* m_pZoom = nullptr;
    CNumberField* m_pWeight = nullptr;
    QComboBox* m_pInterpolation = nullptr;
    QComboBox* m_pOrientation = nullptr;
    QComboBox* m_pLookAtObject = nullptr;
    // Labels and fields of each row the orientation shows or hides, and of
    // the rows only cameras have.
    std::vector<QWidget*> m_AngleRow;
    std::vector<QWidget*> m_LookAtPositionRow;
    std::vector<QWidget*> m_LookAtObjectRow;
    std::vector<QWidget*> m_CameraOnlyRows;
};
