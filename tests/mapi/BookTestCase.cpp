#include "BookTestCase.h"

#include "mapi/MapiFaults.h"

#include <QTest>

void BookTestCase::init()
{
    QVERIFY(m_dir.isValid());
    m_file = (m_dir.path() + "/book-" + QString::number(++m_counter) + ".sqlite").toStdString();
    MapiFaults::Clear();
}

void BookTestCase::cleanup()
{
    MapiFaults::Clear();
}
