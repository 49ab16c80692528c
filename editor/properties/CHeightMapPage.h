#pragma once
// The "Geometry" page of a height map: its height (the amplitude of the
// file's samples, between 1e-8 and 1e8) and the raw height file.

#include "properties/CFieldPage.h"

class CFileNameField;
class CNumberField;

class CHeightMapPage : public CFieldPage {
    Q_OBJECT

public:
    static constexpr double kMinimumHeight = 1e-8;
    static constexpr double kMaximumHeight = 1e8;

    explicit CHeightMapPage(QWidget* parent = nullptr);

    void Refresh() override;

    CNumberField* Height() const { return m_pHeight; }
    CFileNameField* MapFile() const { return m_pMapFile; }

private:
    void ApplyMapFile(const QString& path);

    CNumberField* m_pHeight;
    CFileNameField* m_pMapFile;
};
