#pragma once
// Answers the modal windows a piece of editor code opens while it runs, as
// the user would: message boxes are read and closed with their default
// button; any other modal window (a file dialog, the creation dialog) goes
// to the test's own answer. Polls from the event loop that the modal
// window's exec() runs, so the code under test is called as it is.
//
//   CModalAnswers answers;
//   answers.OnDialog([](QWidget* dialog) { ... static_cast<QDialog*>(dialog)->reject(); });
//   pane.AddObject();
//   EXPECT_THAT(answers.Messages(), ElementsAre("..."));
//
// Header only.

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

class CModalAnswers {
public:
    using DialogAnswer = std::function<void(QWidget* dialog)>;

    CModalAnswers() {
        m_Timer.setInterval(5);
        QObject::connect(&m_Timer, &QTimer::timeout, [this] { AnswerActiveModal(); });
        m_Timer.start();
    }

    // Answers for the other modal windows, taken in the order they open;
    // a window without an answer left is rejected.
    void OnDialog(DialogAnswer answer) { m_Answers.push_back(std::move(answer)); }

    // The texts of the message boxes answered so far, in order.
    const QStringList& Messages() const { return m_Messages; }
    int DialogsAnswered() const { return m_DialogsAnswered; }

private:
    void AnswerActiveModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == m_LastAnswered || !modal->isVisible()) {
            return;
        }
        m_LastAnswered = modal;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            m_Messages.push_back(box->text());
            QAbstractButton* button = box->defaultButton();
            if (button == nullptr) {
                button = box->escapeButton();
            }
            if (button != nullptr) {
                button->click();
            } else {
                box->done(0);
            }
            return;
        }
        ++m_DialogsAnswered;
        if (m_Answers.isEmpty()) {
            if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            }
            return;
        }
        const DialogAnswer answer = m_Answers.takeFirst();
        answer(modal);
    }

    QTimer m_Timer;
    QList<DialogAnswer> m_Answers;
    QStringList m_Messages;
    int m_DialogsAnswered = 0;
    QPointer<QWidget> m_LastAnswered;
};
