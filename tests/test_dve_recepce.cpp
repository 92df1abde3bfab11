// Two desks, one hotel: every save leaves what another desk stored meanwhile
// as it is, or is refused whole.

#include "DveRecepce.h"
#include "TestDatabase.h"

#include "db/DatabaseError.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QtTest>

class TestDveRecepce : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestDatabase::setUp(); m_jina = TestDatabase::openAnother(); }
    void cleanupTestCase() { m_jina.reset(); TestDatabase::tearDown(); }
    void init() { TestDatabase::clearTables(); }

    void ulozeniVedleJineRecepce_data();
    void ulozeniVedleJineRecepce();

private:
    std::unique_ptr<TMojeDatabaze> m_jina;
};

namespace {
const QList<DvouRecepcniPripad> &pripady()
{
    static const QList<DvouRecepcniPripad> all = pripadyPokoju() + pripadyTypuPokoju() + pripadyTypuDnu();
    return all;
}
} // namespace

void TestDveRecepce::ulozeniVedleJineRecepce_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < pripady().size(); ++i)
        QTest::newRow(qPrintable(pripady()[i].nazev)) << i;
}

void TestDveRecepce::ulozeniVedleJineRecepce()
{
    QFETCH(int, index);
    const DvouRecepcniPripad &p = pripady()[index];
    for (const QString &sql : p.pripravit)
        TestDatabase::exec(sql);
    const std::function<void()> uloz = p.tatoRecepce();
    for (const QString &sql : p.jinaRecepce) {
        TMojeQuery q(*m_jina);
        q.exec(sql);
    }
    const QStringList predUlozenim = TestDatabase::rows(p.dotaz);
    bool konflikt = false;
    try {
        uloz();
    } catch (const DatabaseError &e) {
        QVERIFY2(e.kind() == DatabaseError::Kind::Conflict, qPrintable(e.text()));
        konflikt = true;
    }
    QCOMPARE(konflikt, p.konflikt);
    if (konflikt)
        QCOMPARE(TestDatabase::rows(p.dotaz), predUlozenim);   // nothing half-saved
    QCOMPARE(TestDatabase::rows(p.dotaz), p.ocekavane);
}

QTEST_GUILESS_MAIN(TestDveRecepce)
#include "test_dve_recepce.moc"
