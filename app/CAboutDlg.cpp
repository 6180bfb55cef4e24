#include "app/CAboutDlg.h"

#include "res/Artwork.h"
#include "ui/DialogPlacement.h"

#include <QLabel>
#include <QPushButton>

namespace {
constexpr int kIconPixels = 32; // an icon control shows the icon at its own size
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Telephone Directory"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    const DialogPlacement placement(this, 217, 55);
    const DialogUnits& du = placement.Units();

    auto* icon = new QLabel(this);
    icon->setPixmap(Artwork::ProgramIcon().pixmap(kIconPixels, kIconPixels));
    icon->setGeometry(du.X(11), du.Y(17), kIconPixels, kIconPixels);
    icon->setAccessibleName(QStringLiteral("Program icon"));

    auto* version = new QLabel(VersionText(), this);
    version->setObjectName(QStringLiteral("versionText"));
    version->setGeometry(du.Rect(40, 10, 130, 8));
    auto* copyright = new QLabel(CopyrightText(), this);
    copyright->setObjectName(QStringLiteral("copyrightText"));
    copyright->setGeometry(du.Rect(40, 25, 130, 8));

    QPushButton* ok = placement.AddButton(QStringLiteral("OK"), "ID_1", 178, 7, 32, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QString CAboutDlg::VersionText()
{
    return QStringLiteral("Telephone Directory Version 1.1.03");
}

QString CAboutDlg::CopyrightText()
{
    return QStringLiteral("Copyright (C) Korvane");
}
