#pragma once
// A file's path as typed, with a "Browse..." button beside it that opens the file dialog, for the dialogs
// that read or write a file. The edit is named "path" and the button "browse" for tests and accessibility.
#include <QString>
#include <QWidget>

class QLineEdit;

class CFilePathField : public QWidget {
    Q_OBJECT
public:
    enum class Purpose { Open, Save };

    // filter as QFileDialog takes it; defaultSuffix is added to a chosen name without one when saving.
    CFilePathField(QWidget* parent, Purpose purpose, const QString& caption, const QString& filter,
                   const QString& defaultSuffix = {});

    QLineEdit* Edit() const { return m_edPath; }
    QString Path() const; // without blanks around it
    // The file name the dialog offers when nothing is typed (saving); see FileDialogStart for the folder.
    void SetSuggestedName(const QString& name) { m_suggestedName = name; }
    // Where "Browse..." opens the file dialog.
    QString BrowseStart() const;

signals:
    void pathChanged();

private:
    void OnBrowse();

    Purpose m_purpose;
    QString m_caption;
    QString m_filter;
    QString m_defaultSuffix;
    QString m_suggestedName;
    QLineEdit* m_edPath;
};
