#pragma once
// "Create a new object...": the user picks one of the ten kinds of object
// the editor makes and names it. A name is proposed ("untitled_%d" with a
// counter that runs on from dialog to dialog for the whole process); OK is
// refused, with a message, for an empty name or one the scene already has.
//
//   CCreateObjectDialog dialog(document.Scene(), this);
//   if (dialog.exec() == QDialog::Accepted)
//       creator.CreateObject(dialog.SelectedType(), dialog.ObjectName());

#include <QDialog>
#include <QString>
#include <array>

class CScene;
class QLineEdit;
class QListWidget;

class CCreateObjectDialog : public QDialog {
    Q_OBJECT

public:
    // One kind of object in the list: its class and its two-line text
    // (title, line break, description).
    struct SEntry {
        const char* type;
        const char* text;
    };
    static const std::array<SEntry, 10>& Entries();

    explicit CCreateObjectDialog(CScene& scene, QWidget* parent = nullptr);

    QString ObjectName() const;
    // The class of the selected entry.
    QString SelectedType() const;

    // The next "untitled_%d" of the process-wide counter that no object of
    // the scene has; every number tried is used up, taken or not.
    static QString ProposeName(CScene& scene);

    QListWidget* TypeList() const { return m_pTypes; }
    QLineEdit* NameEdit() const { return m_pName; }

public slots:
    void accept() override;

private:
    void FillTypes();
    // The message that refuses the name, or empty when it is acceptable.
    QString ProblemWithName(const QString& name) const;

    CScene& m_Scene;
    QListWidget* m_pTypes;
    QLineEdit* m_pName;
};
