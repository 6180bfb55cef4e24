#pragma once
// The preferences: the directories read at start-up, the preview row, the address-book file, the telephone's
// device (chosen in the connection dialog) and speed, and the address book's synchronization account. OK writes them all to the settings given;
// Cancel writes nothing. What takes effect when is said in the dialog: the preview row and the device at once
// (the form applies them), the rest at the next start.
#include "model/FormSettings.h"

#include <QDialog>

#include <array>
#include <functional>

class CFilePathField;
class CSyncAccountBox;
class QCheckBox;
class QComboBox;
class QLabel;
class QSettings;

class CPreferencesDlg : public QDialog {
    Q_OBJECT
public:
    // chooseDevice runs the connection dialog on the device given (empty: the built-in phone emulator) and
    // changes it on OK; true then. Tests give one of their own.
    using DeviceChooser = std::function<bool(QString& device)>;
    CPreferencesDlg(QWidget* parent, QSettings& settings, DeviceChooser chooseDevice = {});

    // The synchronization account's part of the dialog.
    CSyncAccountBox* SyncAccountBox() const { return m_syncAccount; }

    // The values as the dialog shows them (after OK: as written).
    FormSettings Values() const;
    void accept() override;

private:
    void CreateControls();
    void ShowValues();
    void OnConnection();
    void ShowDevice();

    QSettings& m_settings;
    DeviceChooser m_chooseDevice;
    FormSettings m_values;
    std::array<QCheckBox*, 7> m_chkDirectories{};
    QCheckBox* m_chkShowCorrection = nullptr;
    CFilePathField* m_bookFile = nullptr;
    QLabel* m_stDevice = nullptr;
    QComboBox* m_cbBaud = nullptr;
    CSyncAccountBox* m_syncAccount = nullptr;
};
