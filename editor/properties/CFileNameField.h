#pragma once
// A file an object reads (a height map, a font): a read-only field with the
// file's name and a "..." button that opens a file dialog at that file. The
// directory is kept beside the name, so that the dialog starts where the
// file lies; a file chosen there becomes the kept directory and name.

#include <QString>
#include <QWidget>

class QLineEdit;
class QPushButton;

class CFileNameField : public QWidget {
    Q_OBJECT

public:
    // filter: the dialog's, as "Raw Bitmap Images (*.raw)".
    explicit CFileNameField(const QString& filter, QWidget* parent = nullptr);

    // Shows the name of the file at path and keeps its directory. Old scene
    // files write "\" between folders, so both separators split.
    void SetPath(const QString& path);
    const QString& Directory() const { return m_Directory; }
    const QString& FileName() const { return m_FileName; }
    // Where the dialog starts: the kept directory and name.
    QString Path() const { return m_Directory + m_FileName; }

    // Splits at the last "/" or "\": the directory keeps its separator.
    static void SplitPath(const QString& path, QString& directory, QString& fileName);

    QLineEdit* NameEdit() const { return m_pName; }
    QPushButton* BrowseButton() const { return m_pBrowse; }

public slots:
    // The file dialog; a file chosen there is kept and announced.
    void Browse();

signals:
    void FileChosen(const QString& path);

private:
    QString m_Filter;
    QString m_Directory;
    QString m_FileName;
    QLineEdit* m_pName;
    QPushButton* m_pBrowse;
};
