#pragma once
// What the export tests share: the demo scene open in a document, an export
// run to its end with the lines it reported, and scratch folders below the
// build's folder (the programs the tests make run from there; the system's
// temporary folder may be mounted noexec). Header only.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QStringList>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/QtTestApplication.h"
#include "document/CEditorDocument.h"
#include "export/CExportRun.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"

namespace exporttest {

const std::string kBin = LVX_BIN_DIR;

struct SLine {
    QString text;
    bool bold = false;
    bool operator==(const SLine& other) const { return text == other.text && bold == other.bold; }
};

inline void PrintTo(const SLine& line, std::ostream* out) {
    *out << (line.bold ? "bold \"" : "\"") << line.text.toStdString() << "\"";
}

struct SRunResult {
    std::vector<SLine> lines;
    bool succeeded = false;

    QStringList Texts() const {
        QStringList texts;
        for (const SLine& line : lines) {
            texts << line.text;
        }
        return texts;
    }
};

// Runs the export from the event loop until it finished (a builder that
// hangs fails the test after two minutes instead of blocking it).
inline SRunResult RunExport(CScene& scene, const SExportRequest& request, const QString& shell = "sh") {
    SRunResult result;
    CExportRun run(scene, request);
    run.SetShell(shell);
    QObject::connect(&run, &CExportRun::LineAdded, [&result](const QString& text, bool bold) {
        result.lines.push_back({text, bold});
    });
    QEventLoop loop;
    QObject::connect(&run, &CExportRun::Finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    run.Start();
    if (!run.IsFinished()) {
        loop.exec();
    }
    result.succeeded = run.Succeeded();
    return result;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

class ExportTest : public testing::Test {
protected:
    void SetUp() override {
        lvxtest::TestApplication();
        QString error;
        ASSERT_TRUE(m_document.Open(LVX_DEMO_SCENE, false, &error)) << error.toStdString();
    }

    static std::filesystem::path ScratchParent() { return std::filesystem::path(kBin).parent_path(); }

    CScreenStateGuard m_screenState;  // first: the scene's death still changes the screen's fog
    CTempFolder m_out{ScratchParent()};
    CTempFolder m_installer{ScratchParent()};
    CEditorDocument m_document;
};

}  // namespace exporttest
