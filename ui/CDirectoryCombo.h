#pragma once
#include <QComboBox>

// The directory combo box above the telephone list: fills itself with the seven telephone directories, item i
// being directory number i, and starts on the SIM directory.
class CDirectoryCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CDirectoryCombo(QWidget* parent = nullptr);
};
