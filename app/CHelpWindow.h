#pragma once
// The program's own help window: the contents of the help file "diradi" in a browser that stays open beside
// the frame. There is one; asking for help again brings it to the front at the contents. It opens centred on the
// program's window; Escape and Ctrl+W close it.
#include <QWidget>

class QTextBrowser;

class CHelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent = nullptr);

    // Shows the contents page and brings the window to the front.
    void ShowContents();
    QTextBrowser* Browser() const { return m_browser; }

    static QUrl ContentsUrl();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Centres the window on its parent's window, kept on the screen that window is on.
    void CentreOnProgram();

    QTextBrowser* m_browser;
};
