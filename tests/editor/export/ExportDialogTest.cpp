// The "Export Settings" dialog and the log window as the user meets them:
// the controls that show for each kind of file, what "Cancel" and a
// cancelled file choice leave in the scene, and whole exports answered
// through the dialogs, with pictures of each window.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <functional>

#include "ExportTestSupport.h"
#include "app/Screenshots.h"
#include "export/CDisplayFormatCommand.h"
#include "export/CExportLog.h"
#include "export/CExportSettingsDialog.h"

using exporttest::Q;
using testing::ElementsAre;

namespace {

// Answers the export's modal windows by their kind, each window once: the
// settings dialog, the file dialog, the log window. (Between two of them
// the settings dialog is the active modal window again for a moment, so
// answers taken strictly in order could go to the wrong window.)
class CExportAnswers {
public:
    using Answer = std::function<void(QWidget*)>;

    CExportAnswers() {
        m_Timer.setInterval(5);
        QObject::connect(&m_Timer, &QTimer::timeout, [this] { AnswerActiveModal(); });
        m_Timer.start();
    }
    void OnSettings(Answer answer) { m_Settings = std::move(answer); }
    void OnFiles(Answer answer) { m_Files = std::move(answer); }
    void OnLog(Answer answer) { m_Log = std::move(answer); }
    int Answered() const { return m_Answered; }

private:
    void AnswerActiveModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible() || m_Done.contains(modal)) {
            return;
        }
        m_Done.push_back(modal);
        ++m_Answered;
        Answer* answer = qobject_cast<CExportSettingsDialog*>(modal) != nullptr ? &m_Settings
                         : qobject_cast<QFileDialog*>(modal) != nullptr         ? &m_Files
                         : qobject_cast<CExportLog*>(modal) != nullptr          ? &m_Log
                                                                                : nullptr;
        if (answer == nullptr || !*answer) {
            ADD_FAILURE() << "unexpected window " << modal->metaObject()->className();
            static_cast<QDialog*>(modal)->reject();
            return;
        }
        (*answer)(modal);
    }

    QTimer m_Timer;
    Answer m_Settings;
    Answer m_Files;
    Answer m_Log;
    QList<QPointer<QWidget>> m_Done;
    int m_Answered = 0;
};

// An answer that opens the next modal window must return first: the
// answers come from a timer, which does not fire again while its own
// handler still runs.
void ClickLater(QPushButton* button) {
    QTimer::singleShot(0, button, &QPushButton::click);
}

// The file dialog's "Save" (QFileDialog::accept).
void SaveLater(QFileDialog* files) {
    QTimer::singleShot(0, files, [files] { static_cast<QDialog*>(files)->accept(); });
}

// Whether the widget shows while its dialog shows.
bool Shows(const QWidget* widget) {
    return !widget->isHidden();
}

CDisplayFormat Format(CEditorDocument& document) {
    CSceneLock lock(document.Scene());
    return *document.Scene().GetDisplayFormat();
}

// The paragraphs of the log and whether each is bold.
std::vector<std::pair<std::string, bool>> LogLines(const CExportLog& log) {
    std::vector<std::pair<std::string, bool>> lines;
    for (QTextBlock block = log.TextEdit()->document()->begin(); block.isValid(); block = block.next()) {
        lines.emplace_back(block.text().toStdString(), block.charFormat().fontWeight() == QFont::Bold);
    }
    return lines;
}

// Answers the log window once its export has finished: a picture, then OK.
CExportAnswers::Answer CloseLogWhenDone(const QString& screenshot, std::vector<std::pair<std::string, bool>>& lines) {
    return [screenshot, &lines](QWidget* window) {
        auto* log = static_cast<CExportLog*>(window);
        auto close = [log, screenshot, &lines] {
            lines = LogLines(*log);
            lvxtest::SaveScreenshot(*log, screenshot);
            log->OkButton()->click();
        };
        if (log->IsRunFinished()) {
            close();
        } else {
            // Neither OK nor Escape closes it while the export runs.
            EXPECT_FALSE(log->OkButton()->isEnabled());
            log->reject();
            EXPECT_TRUE(log->isVisible());
            QObject::connect(log, &CExportLog::RunFinished, log, close);
        }
    };
}

class ExportDialog : public exporttest::ExportTest {};

}  // namespace

TEST_F(ExportDialog, EachKindOfFileShowsItsOwnControls) {
    CExportSettingsDialog dialog(m_document);
    dialog.show();
    ASSERT_EQ(dialog.TypeCombo()->count(), 2);
    EXPECT_EQ(dialog.TypeCombo()->itemText(1), "Standard Executable");
    ASSERT_EQ(dialog.ResolutionCombo()->count(), 6);
    EXPECT_EQ(dialog.ResolutionCombo()->itemText(5), "1600 x 1200");

    // A screensaver: the installer's controls, its name disabled until the
    // box is checked; no "Fullscreen", and so no title.
    EXPECT_TRUE(Shows(dialog.InstallerCheck()));
    EXPECT_TRUE(Shows(dialog.InstallerNameEdit()));
    EXPECT_FALSE(dialog.InstallerNameEdit()->isEnabled());
    EXPECT_FALSE(dialog.InstallerNameLabel()->isEnabled());
    EXPECT_FALSE(Shows(dialog.FullscreenCheck()));
    EXPECT_FALSE(Shows(dialog.TitleEdit()));
    EXPECT_FALSE(Shows(dialog.PreviewRow()));
    dialog.InstallerCheck()->setChecked(true);
    EXPECT_TRUE(dialog.InstallerNameEdit()->isEnabled());
    EXPECT_TRUE(dialog.InstallerNameLabel()->isEnabled());
    EXPECT_EQ(dialog.InstallerNameEdit()->text(), "My ScreenSaver");
    lvxtest::SaveScreenshot(dialog, "export_settings_screensaver");

    // An executable: "Fullscreen", and the title while it is clear.
    dialog.TypeCombo()->setCurrentIndex(1);
    EXPECT_TRUE(Shows(dialog.FullscreenCheck()));
    EXPECT_TRUE(dialog.FullscreenCheck()->isChecked());
    EXPECT_FALSE(Shows(dialog.InstallerCheck()));
    EXPECT_FALSE(Shows(dialog.InstallerNameLabel()));
    EXPECT_FALSE(Shows(dialog.InstallerNameEdit()));
    EXPECT_FALSE(Shows(dialog.TitleLabel()));
    dialog.FullscreenCheck()->setChecked(false);
    EXPECT_TRUE(Shows(dialog.TitleLabel()));
    EXPECT_TRUE(Shows(dialog.TitleEdit()));
    EXPECT_EQ(dialog.TitleEdit()->text(), "Brennox Skyloom");
    EXPECT_FALSE(Shows(dialog.PreviewRow()));
    lvxtest::SaveScreenshot(dialog, "export_settings_executable");
    dialog.FullscreenCheck()->setChecked(true);
    EXPECT_FALSE(Shows(dialog.TitleEdit()));
}

TEST_F(ExportDialog, CancelStoresNothingACancelledFileChoiceStoresTheSettings) {
    const CDisplayFormat before = Format(m_document);
    {
        CExportAnswers answers;
        answers.OnSettings([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
        CExportSettingsDialog::Run(m_document, nullptr);
        EXPECT_EQ(answers.Answered(), 1);
    }
    EXPECT_EQ(m_document.UndoStack().count(), 0);
    EXPECT_TRUE(m_document.IsClean());

    QString filter;
    QString suffix;
    {
        CExportAnswers answers;
        answers.OnSettings([](QWidget* window) {
            auto* dialog = static_cast<CExportSettingsDialog*>(window);
            dialog->TypeCombo()->setCurrentIndex(1);
            dialog->FullscreenCheck()->setChecked(false);
            dialog->ResolutionCombo()->setCurrentIndex(5);
            dialog->TitleEdit()->setText("Night Sky");
            ClickLater(dialog->ExportButton());
        });
        answers.OnFiles([&filter, &suffix](QWidget* window) {
            auto* files = static_cast<QFileDialog*>(window);
            EXPECT_TRUE(files->testOption(QFileDialog::DontUseNativeDialog));
            EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
            filter = files->nameFilters().join(';');
            suffix = files->defaultSuffix();
            files->reject();
        });
        CExportSettingsDialog::Run(m_document, nullptr);
        EXPECT_EQ(answers.Answered(), 2);
    }
    EXPECT_EQ(filter, "Executables (*.exe)");
    EXPECT_EQ(suffix, "exe");
    const CDisplayFormat stored = Format(m_document);
    EXPECT_EQ(stored.m_iResolution, 5);
    EXPECT_EQ(stored.m_iFlags, 4);
    EXPECT_EQ(stored.m_Name, "Night Sky");
    ASSERT_EQ(m_document.UndoStack().count(), 1);
    EXPECT_EQ(m_document.UndoStack().undoText(), "Set Export Settings");
    EXPECT_FALSE(m_document.IsClean());
    EXPECT_TRUE(m_out.Entries().empty());

    m_document.UndoStack().undo();
    EXPECT_TRUE(CDisplayFormatCommand::Equal(Format(m_document), before));
    EXPECT_TRUE(m_document.IsClean());
    // The same settings once more change nothing and add no step.
    CDisplayFormatCommand::Store(m_document, before);
    EXPECT_EQ(m_document.UndoStack().index(), 0);
}

TEST_F(ExportDialog, AScreensaverIsExportedThroughTheDialogsAndTheLog) {
    std::vector<std::pair<std::string, bool>> lines;
    QString filter;
    CExportAnswers answers;
    answers.OnSettings(
        [](QWidget* window) { ClickLater(static_cast<CExportSettingsDialog*>(window)->ExportButton()); });
    answers.OnFiles([this, &filter](QWidget* window) {
        auto* files = static_cast<QFileDialog*>(window);
        filter = files->nameFilters().join(';');
        files->selectFile(Q(m_out.Path("night")));  // the default suffix follows
        SaveLater(files);
    });
    answers.OnLog(CloseLogWhenDone("export_log_screensaver", lines));
    CExportSettingsDialog::Run(m_document, nullptr);

    EXPECT_EQ(answers.Answered(), 3);
    EXPECT_EQ(filter, "Screen Savers (*.scr)");
    EXPECT_THAT(m_out.Entries(), ElementsAre("night.scr"));
    EXPECT_THAT(lines, ElementsAre(std::pair<std::string, bool>{"Creation of the file \"night.scr\"...", false},
                                   std::pair<std::string, bool>{"\"night.scr\" created successfuly.", true}));
    EXPECT_EQ(Format(m_document).m_iFlags, 1);
}

TEST_F(ExportDialog, AnInstallerIsBuiltWithTheTemplateBesideTheEditor) {
    std::vector<std::pair<std::string, bool>> lines;
    CExportAnswers answers;
    answers.OnSettings([](QWidget* window) {
        auto* dialog = static_cast<CExportSettingsDialog*>(window);
        dialog->InstallerCheck()->setChecked(true);
        dialog->InstallerNameEdit()->setText("Night Sky");
        ClickLater(dialog->ExportButton());
    });
    answers.OnFiles([this](QWidget* window) {
        auto* files = static_cast<QFileDialog*>(window);
        files->selectFile(Q(m_out.Path("night")));
        SaveLater(files);
    });
    answers.OnLog(CloseLogWhenDone("export_log_installer", lines));
    CExportSettingsDialog::Run(m_document, nullptr);

    EXPECT_EQ(answers.Answered(), 3);
    EXPECT_THAT(m_out.Entries(), ElementsAre("night.run"));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().first, "Creation of the screensaver \"night.exe\"...");
    EXPECT_EQ(lines.back(), (std::pair<std::string, bool>{"Files Successfuly generated.", true}));
    EXPECT_FALSE(std::filesystem::exists(exporttest::kBin + "/installer/screensaver_current.sh"));
}
