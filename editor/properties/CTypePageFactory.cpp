#include "properties/CTypePageFactory.h"

#include "properties/CAnimationPage.h"
#include "properties/CBoxPage.h"
#include "properties/CCylinderPage.h"
#include "properties/CHeightMapPage.h"
#include "properties/CPlanePage.h"
#include "properties/CSpherePage.h"
#include "properties/CTextPage.h"
#include "properties/CTorusPage.h"

CObjectPage* CTypePageFactory::Create(const QString& type, QWidget* parent) {
    if (type == "CPlaneObject") {
        return new CPlanePage(parent);
    }
    if (type == "CSphereObject") {
        return new CSpherePage(parent);
    }
    if (type == "CTorusObject") {
        return new CTorusPage(parent);
    }
    if (type == "CBoxObject") {
        return new CBoxPage(parent);
    }
    if (type == "CCylinderObject") {
        return new CCylinderPage(parent);
    }
    if (type == "CHeightMapObject") {
        return new CHeightMapPage(parent);
    }
    if (type == "CBmpFonts") {
        return new CTextPage(parent);
    }
    if (type == "CAnimFileMeshObject") {
        return new CAnimationPage(parent);
    }
    return nullptr;
}
