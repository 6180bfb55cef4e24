#pragma once
// One read or write of the telephone-link tool: starts it through the link library, waits for its end and
// prints the outcome. The exit code is 0 on success, 1 when the phone or the link failed.
#include <QByteArray>
#include <QObject>
#include <QString>

class LinkCommand : public QObject {
    Q_OBJECT
public:
    int read(const QByteArray& code);
    int write(const QByteArray& code, int index, const QString& name, const QByteArray& number);

protected:
    bool event(QEvent* event) override;

private:
    int waitForEnd(int message);
    void printRecords();

    int m_expected = 0;
    bool m_done = false;
    qintptr m_result = 0;
};
