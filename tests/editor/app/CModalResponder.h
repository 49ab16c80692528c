#pragma once
// Answers the modal windows the editor opens, as a user would, from the
// event loop that the window's exec() runs: each modal window takes the
// next answer in order (a window without an answer left is rejected, a
// message box closed with "No" or its escape button). The texts of the
// message boxes are kept for the test to check.
//
//   CModalResponder user;
//   user.Answer(CModalResponder::Click(QMessageBox::No));
//   frame.NewScene();
//   EXPECT_THAT(user.Messages(), ElementsAre("Are you sure ..."));
//
// Header only.

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "common/QtTestApplication.h"

class CModalResponder {
public:
    using Response = std::function<void(QWidget* modal)>;

    CModalResponder() {
        lvxtest::TestApplication();  // the timer needs the application
        m_Timer.setInterval(5);
        QObject::connect(&m_Timer, &QTimer::timeout, [this] { AnswerActiveModal(); });
        m_Timer.start();
    }

    void Answer(Response response) { m_Responses.push_back(std::move(response)); }

    // A message box's button.
    static Response Click(QMessageBox::StandardButton button) {
        return [button](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box != nullptr && box->button(button) != nullptr) {
                box->button(button)->click();
            } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            }
        };
    }
    // A file dialog's choice.
    static Response ChooseFile(const QString& path) {
        return [path](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr) {
                if (auto* other = qobject_cast<QDialog*>(modal))
                    other->reject();
                return;
            }
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();  // public in QDialog
        };
    }
    static Response Cancel() {
        return [](QWidget* modal) {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        };
    }

    // The texts of the message boxes seen so far, in order.
    const QStringList& Messages() const { return m_Messages; }
    // Window titles of all modal windows seen, in order.
    const QStringList& Titles() const { return m_Titles; }
    // Whether a file dialog was Qt's own (a test can drive only that one).
    bool SawNativeFileDialog() const { return m_SawNative; }
    int Seen() const { return static_cast<int>(m_Titles.size()); }
    // A modal window's own look, taken before it was answered.
    std::function<void(QWidget*)> onShown;

private:
    void AnswerActiveModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == m_LastAnswered || !modal->isVisible()) {
            return;
        }
        m_LastAnswered = modal;
        m_Titles.push_back(modal->windowTitle());
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            m_Messages.push_back(box->text());
        }
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            m_SawNative = m_SawNative || !files->testOption(QFileDialog::DontUseNativeDialog);
        }
        if (onShown) {
            onShown(modal);
        }
        if (m_Responses.isEmpty()) {
            if (auto* box = qobject_cast<QMessageBox*>(modal); box != nullptr && box->button(QMessageBox::No)) {
                box->button(QMessageBox::No)->click();
            } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            }
            return;
        }
        m_Responses.takeFirst()(modal);
    }

    QTimer m_Timer;
    QList<Response> m_Responses;
    QStringList m_Messages;
    QStringList m_Titles;
    bool m_SawNative = false;
    QPointer<QWidget> m_LastAnswered;
};
