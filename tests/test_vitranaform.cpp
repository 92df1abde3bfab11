// The main window, offscreen: menus, span messages, tabs and the painted
// occupancy grid (read back from the pixels), the About box, a failed
// login, the window going before the desk's core, and the application's
// last-resort error handler.

#include "GuiTestSupport.h"
#include "TestDatabase.h"
#include "TypedDate.h"

#include "gui/MessageBox.h"
#include "app/ObsazenostGrid.h"
#include "app/Startup.h"
#include "app/TAboutBox.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"
#include "core/Recepce.h"
#include "db/DatabaseError.h"
#include "db/TMojeDatabaze.h"
#include "model/Objednavky.h"
#include "model/SkupinyPokoju.h"
#include "web/TAdministraceSpolupraceSWebem.h"

#include <QAction>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {
const QColor green(0, 255, 0);
const QColor red(255, 0, 0);

QString day(int offset)
{
    return QDate::currentDate().addDays(offset).toString(Qt::ISODate);
}
} // namespace

class TestVitranaForm : public QObject
{
    Q_OBJECT

    std::unique_ptr<Recepce> m_recepce;   // outlives every window, as in the application
    std::unique_ptr<TVitranaForm> m_form;

    std::unique_ptr<TVitranaForm> openForm()
    {
        auto form = std::make_unique<TVitranaForm>(m_recepce.get());
        form->createDialogs();
        return form;
    }
    void show()
    {
        m_form = openForm();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    QDateTimeEdit *picker(const char *name) { return m_form->findChild<QDateTimeEdit *>(name); }
    QTabBar *tabs() { return m_form->findChild<QTabBar *>("ObsazenostPokojuTabControl"); }
    void span(int from, int to, QTime time = QTime(12, 0))
    {
        picker("OdDateTimePicker")->setDateTime(QDateTime(QDate::currentDate().addDays(from), time));
        picker("DoDateTimePicker")->setDateTime(QDateTime(QDate::currentDate().addDays(to), QTime(0, 0)));
        QTest::mouseClick(m_form->findChild<QPushButton *>("ZobrazButton"), Qt::LeftButton);
    }
    const std::vector<ObsazenostGrid::Vrstva> &layers() { return m_form->grid()->vrstvy(); }
    /**
     * The main window's client area, moved so that the grid's origin is at
     * (10, 48) as with the designed controls' heights; the layout puts it
     * 10 px from the left edge, 2 px below the tab strip.
     */
    QImage client()
    {
        const QPoint origin = m_form->grid()->pos();
        if (origin != QPoint(10, tabs()->geometry().bottom() + 1 + 2))
            qFatal("the grid is at %d, %d, not below the tabs", origin.x(), origin.y());
        const QImage shown = m_form->grid()->parentWidget()->grab().toImage();
        return shown.copy(QRect(origin - QPoint(10, 48), shown.size()));
    }
    /** What the main window's client area shows at a point, as client() moves it. */
    QColor pixel(int x, int y) { return client().pixelColor(x, y); }
    QColor square(int row, int d) { return pixel(80 + 20 * d + 8, 89 + 20 * row + 8); }

private slots:
    void initTestCase()
    {
        TestDatabase::setUp();
        m_recepce = TestDatabase::openDesk();
    }
    void cleanupTestCase()
    {
        m_recepce.reset();
        TestDatabase::tearDown();
    }
    void init()
    {
        MessageBox::clearHistory();
        TestDatabase::clearTables();
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, '201', 2), (4, '301', 2)");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Přízemí'), (2, 'Patro'), (3, 'Prázdná')");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1), (1, 2), (2, 3)");
        TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (1, 1, '%1', '%2', '%3', 1, 100)")
                               .arg(day(0), day(2), day(4)));
        TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (1, 2, '%1', '%1', '%1', 4, 100)").arg(day(0)));
    }
    void cleanup()
    {
        m_form.reset();
        QLocale::setDefault(QLocale::system());
    }

    void menus()
    {
        m_form = openForm();
        const QMenuBar *bar = m_form->menuBar();
        QStringList seen;
        for (QAction *top : bar->actions()) {
            QStringList items;
            for (QAction *item : top->menu()->actions())
                items << item->objectName() + (item->isSeparator() ? QString() : '=' + item->text())
                             + (item->isEnabled() || item->isSeparator() ? "" : " (off)");
            seen << top->menu()->objectName() + '=' + top->text() + ": " + items.join(", ");
        }
        QCOMPARE(seen, (QStringList{
            "MenuKlienti=Klienti: MenuKlientiNovyKlient=Nový klient..., MenuKlientiUpravUdaje=Uprav údaje...",
            "MenuRezervace=Rezervace: MenuRezervaceNovaRezervace=Nová rezervace..., SmazRezervaci=Smaž rezervaci..., "
            "MenuRezervacePrijezdyAOdjezdy=Příjezdy a odjezdy..., MenuRezervacePrijezdHosta=Příjezd hosta..., "
            "MenuRezervaceOdjezdHosta=Odjezd hosta...",
            "MenuUklid=Úklid: MenuUklidStavPokoju=Stav pokojů...",
            "MenuKnihy=Knihy: MenuKnihyDomovniKniha=Domovní kniha..., MenuKnihyEvidencniKniha=Evidenční kniha..., "
            "MenuKnihyUbyport=Hlášení cizinců (Ubyport)...",
            "MenuAdministrace=Administrace: MenuAdministraceUdajeOHotelu=Údaje o hotelu..., "
            "MenuAdministracePokoje=Pokoje..., "
            "MenuAdministraceTypyPokoju=Typy pokojů..., MenuAdministraceSkupinyPokoju=Skupiny pokojů..., "
            "Linka1, MenuAdministraceTypyDni=Typy dní..., N1, SpolupraceSWebem=Spolupráce s webem..., "
            "N2, MenuAdministracePrehledy=Přehledy..., MenuAdministraceHistorieZmen=Historie změn..., "
            "ZalohaDatabaze=Záloha databáze...",
            "MenuNapoveda=Nápověda: OAplikaci=O aplikaci"}));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Vitrana"));
        QCOMPARE(m_form->objectName(), QStringLiteral("VitranaForm"));
    }

    void showsThirtyDaysOfTheFirstGroup()
    {
        show();
        QCOMPARE(picker("OdDateTimePicker")->date(), QDate::currentDate());
        QCOMPARE(picker("DoDateTimePicker")->date(), QDate::currentDate().addDays(29));
        QCOMPARE(tabs()->count(), 3);
        QCOMPARE(tabs()->tabText(0), QStringLiteral("Přízemí"));
        QCOMPARE(tabs()->currentIndex(), 0);
        QCOMPARE(MessageBox::history().size(), 0);
        QCOMPARE(layers().size(), std::size_t(1));
        QCOMPARE(layers()[0].dny, 30);
        QCOMPARE(layers()[0].cislaPokoju, (QStringList{"101", "102"}));
    }

    void gridPixels()
    {
        show();
        // the 3rd to the 5th day of the span reserved, the 2nd and 6th free
        QCOMPARE(square(0, 1), green);
        QCOMPARE(square(0, 2), red);
        QCOMPARE(square(0, 3), red);
        QCOMPARE(square(0, 4), red);
        QCOMPARE(square(0, 5), green);
        QCOMPARE(square(1, 3), green);
        // 16 x 16 squares at 80 + 20 d, 89 + 20 r
        QCOMPARE(pixel(80 + 40, 89), red);
        QCOMPARE(pixel(80 + 40 + 15, 89 + 15), red);
        QVERIFY(pixel(80 + 40 + 16, 89 + 8) != red);
        QVERIFY(pixel(80 + 40 + 8, 89 + 16) != red);
        QCOMPARE(pixel(80 + 20 * 29 + 15, 89 + 20 + 15), green);
        QVERIFY(pixel(80 + 20 * 30 + 2, 89 + 20 + 8) != green);   // no 31st column
        QVERIFY(pixel(80 + 8, 89 + 40 + 8) != green);             // no third row
        // room numbers at the left of their rows
        QCOMPARE(ObsazenostGrid::ctverec(1, 0).translated(10, 48), QRect(80, 109, 16, 16));

        // Sunday headers are red, other days' headers are not
        for (int d = 0; d < 7; ++d) {
            const bool sunday = QDate::currentDate().addDays(d).dayOfWeek() == Qt::Sunday;
            QCOMPARE(pixel(80 + 20 * d + 1, 48 + 1) == red, sunday);
            QCOMPARE(pixel(80 + 20 * d + 1, 48 + 38) == red, sunday);
        }
    }

    void spanMessages_data()
    {
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("days");
        QTest::newRow("one day") << 0 << 0 << "" << 1;
        QTest::newRow("30 days") << 29 << 0 << "" << 30;
        QTest::newRow("31 days, OK") << 30 << int(QMessageBox::Ok)
                                     << "Požadujete zobrazit 31 dní.\nAkce může trvat dlouho. Chcete pokračovat?|Varování" << 31;
        QTest::newRow("31 days, Cancel") << 30 << int(QMessageBox::Cancel)
                                         << "Požadujete zobrazit 31 dní.\nAkce může trvat dlouho. Chcete pokračovat?|Varování" << -1;
        QTest::newRow("60 days, OK") << 59 << int(QMessageBox::Ok)
                                     << "Požadujete zobrazit 60 dní.\nAkce může trvat dlouho. Chcete pokračovat?|Varování" << 60;
        QTest::newRow("61 days refused") << 60 << int(QMessageBox::Ok)
                                         << "Požadujete zobrazit 61 dní.\nMaximálně lze zobrazit 60 dní, doporučeno je 30.|Velké časové rozpětí" << -1;
        QTest::newRow("end before start") << -1 << 0 << "" << -1;
    }
    void spanMessages()
    {
        QFETCH(int, to);
        QFETCH(int, answer);
        QFETCH(QString, message);
        QFETCH(int, days);
        show();
        QCOMPARE(layers().size(), std::size_t(1));
        MessageBox::clearHistory();
        if (answer)
            MessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
        span(0, to);
        QStringList shown;
        for (const auto &m : MessageBox::history())
            shown << m.text + '|' + m.caption;
        QCOMPARE(shown.join("; "), message);
        if (days < 0) {
            QCOMPARE(layers().size(), std::size_t(0));   // the old grid is gone too
            QVERIFY(square(0, 0) != green && square(0, 0) != red);
        } else {
            QCOMPARE(layers().size(), std::size_t(1));
            QCOMPARE(layers()[0].dny, days);
        }
    }

    void aTypedSpanIsShownAsTyped_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("odKeys");
        QTest::addColumn<QStringList>("doKeys");
        QTest::addColumn<QStringList>("shown");
        const QLocale cs(QLocale::Czech, QLocale::Czechia);
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("Czech, day, Tab, month, Tab, year")
            << cs << QStringList{"12", "Tab", "04", "Tab", "2027"} << QStringList{"25", "Tab", "04", "Tab", "2027"}
            << QStringList{"12.04.2027", "25.04.2027"};
        QTest::newRow("Czech, with separators")
            << cs << QStringList{"12.4.2027"} << QStringList{"25.04.2027"} << QStringList{"12.04.2027", "25.04.2027"};
        QTest::newRow("English, month, Tab, day, Tab, year")
            << en << QStringList{"4", "Tab", "12", "Tab", "2027"} << QStringList{"4", "Tab", "25", "Tab", "2027"}
            << QStringList{"4/12/2027", "4/25/2027"};
    }
    void aTypedSpanIsShownAsTyped()
    {
        QFETCH(QLocale, locale);
        QFETCH(QStringList, odKeys);
        QFETCH(QStringList, doKeys);
        QFETCH(QStringList, shown);
        QLocale::setDefault(locale);
        show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        QDateTimeEdit *od = picker("OdDateTimePicker");
        QDateTimeEdit *dO = picker("DoDateTimePicker");
        GuiTest::typeDate(od, odKeys);
        GuiTest::typeDate(dO, doKeys);
        QCOMPARE((QStringList{GuiTest::editedText(od), GuiTest::editedText(dO)}), shown);
        GuiTest::verifyLongDate(od, QDate(2027, 4, 12));
        GuiTest::verifyLongDate(dO, QDate(2027, 4, 25));
        MessageBox::clearHistory();
        QTest::mouseClick(m_form->findChild<QPushButton *>("ZobrazButton"), Qt::LeftButton);
        QCOMPARE(MessageBox::history().size(), 0);
        QCOMPARE(layers().size(), std::size_t(1));
        QCOMPARE(layers()[0].prvni, QDate(2027, 4, 12));
        QCOMPARE(layers()[0].dny, 14);
    }

    void timeOfDayOnTheFirstPickerIsIgnored()
    {
        show();
        span(2, 4, QTime(23, 59));
        QCOMPARE(layers()[0].prvni, QDate::currentDate().addDays(2));
        QCOMPARE(layers()[0].dny, 3);
        QCOMPARE(square(0, 0), red);
        QCOMPARE(square(0, 2), red);
    }

    void tabsSwitchGroups()
    {
        show();
        tabs()->setCurrentIndex(1);
        QCOMPARE(layers().size(), std::size_t(1));
        QCOMPARE(layers()[0].cislaPokoju, QStringList{"201"});
        tabs()->setCurrentIndex(2);
        QCOMPARE(layers()[0].cislaPokoju, QStringList());   // headers only
        QCOMPARE(layers()[0].dny, 30);
        QVERIFY(square(0, 0) != green);
        // room 301 is in no group and shows on no tab
        for (int t = 0; t < tabs()->count(); ++t) {
            tabs()->setCurrentIndex(t);
            QVERIFY(!layers()[0].cislaPokoju.contains("301"));
        }
    }

    // Another desk removes a group, adds one and books a room: this
    // window shows it all within a few seconds, without "Zobraz".
    void anotherDesksChangesShowWithoutARestart()
    {
        show();
        tabs()->setCurrentIndex(1);
        QCOMPARE(layers()[0].cislaPokoju, QStringList{"201"});
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, jmeno) VALUES (1, 'Host')");
        auto other = TestDatabase::openAnother();
        other->makeCurrent();
        const auto back = qScopeGuard([] { TestDatabase::db().makeCurrent(); });
        {
            SkupinyPokoju skupiny;
            skupiny.Odstran(2);
            skupiny.Pridej("Přístavba");
            skupiny.PridejPokojeDoSkupiny(2, Pokoje({Pokoj{4, "301", 2}}));
            skupiny.Uloz();
            QVERIFY(Objednavka(1, 0, QDate::currentDate(), QDate::currentDate().addDays(5),
                               QDate::currentDate().addDays(5), 3, 100)
                        .Zarezervuj());
        }
        QTRY_COMPARE_WITH_TIMEOUT(tabs()->count() == 3 ? tabs()->tabText(2) : QString(), QStringLiteral("Přístavba"),
                                  15000);
        QCOMPARE(tabs()->tabText(1), QStringLiteral("Patro"));   // the group shown stays chosen
        QVERIFY(square(0, 5) != green);                          // and shows the new stay
    }

    // A foreign guest checked in ten days ago and not reported: the status
    // bar says so in red; a Czech guest is no report.
    void overdueReportsOfForeignGuestsShowInTheStatusBar()
    {
        TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (1, 9, '%1', '%1', '%2', 2, 100)")
                               .arg(day(-10), day(3)));
        TestDatabase::exec(QString("INSERT INTO prijezdy_tab VALUES (9, 2, '%1', '%1 14:00:00', NULL)").arg(day(-10)));
        TestDatabase::exec(QString("INSERT INTO hoste_tab (host_id, cislo_objednavky, pokoj_id, od_kdy, jmeno, prijmeni, "
                                   "statni_prislusnost) VALUES (1, 9, 2, '%1', 'Ján', 'Kováč', 'SVK'), "
                                   "(2, 9, 2, '%1', 'Jan', 'Novák', 'CZE')")
                               .arg(day(-10)));
        show();
        auto *label = m_form->findChild<QLabel *>("HlaseniPoTerminuLabel");
        QTRY_VERIFY(label && label->isVisible());
        QVERIFY2(label->text().startsWith("Cizinci nenahlášení po termínu: 1 "), qPrintable(label->text()));
    }

    void aTabShowsItsOwnGroupOfTheSameName()
    {
        TestDatabase::exec("UPDATE skupiny_pokoju_tab SET nazev_skupiny_pokoju = 'Přízemí' WHERE skupina_pokoju_id = 2");
        show();
        QCOMPARE(tabs()->count(), 3);
        QCOMPARE(layers().size(), std::size_t(1));
        QCOMPARE(layers()[0].cislaPokoju, (QStringList{"101", "102"}));
        tabs()->setCurrentIndex(1);
        QCOMPARE(layers().size(), std::size_t(1));
        QCOMPARE(layers()[0].cislaPokoju, QStringList{"201"});
    }

    void noGroupsNoTabsNoGrid()
    {
        TestDatabase::exec("DELETE FROM skupiny_pokoju_tab");
        show();
        QCOMPARE(tabs()->count(), 0);
        QCOMPARE(layers().size(), std::size_t(0));
        QCOMPARE(MessageBox::history().size(), 0);
    }

    void theGridScrollsUnderAFrameThatStays()
    {
        for (int i = 10; i < 50; ++i) {
            TestDatabase::exec(QString("INSERT INTO pokoje_tab VALUES (%1, 'P%1', 1)").arg(i));
            TestDatabase::exec(QString("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, %1)").arg(i));
        }
        show();
        QScrollBar *sideways = m_form->grid()->horizontalScrollBar();
        QScrollBar *down = m_form->grid()->verticalScrollBar();
        QVERIFY(down->isVisible());
        MessageBox::setNextAnswer(QMessageBox::Ok);
        span(0, 59);
        QTRY_VERIFY(sideways->isVisible());
        auto *picker = m_form->findChild<QDateTimeEdit *>("OdDateTimePicker");
        const QPoint pickerAt = picker->mapTo(m_form.get(), QPoint());
        const QImage unscrolled = client();

        // Two columns to the left: the squares move, the room numbers stay.
        sideways->setValue(40);
        QCOMPARE(square(0, 0), red);     // the 3rd day of the span
        QCOMPARE(square(0, 2), red);     // the 5th
        QCOMPARE(square(0, 3), green);   // the 6th
        const QImage scrolled = client();
        QCOMPARE(scrolled.copy(10, 89, 60, 40), unscrolled.copy(10, 89, 60, 40));
        // the headers move with the squares: the 3rd day's header is first now
        QCOMPARE(scrolled.copy(80, 48, 200, 39), unscrolled.copy(120, 48, 200, 39));

        // One row up: the headers stay, the numbers move with the squares.
        down->setValue(20);
        const QImage both = client();
        QCOMPARE(both.copy(80, 48, 200, 39), scrolled.copy(80, 48, 200, 39));
        QCOMPARE(both.copy(10, 89, 60, 16), unscrolled.copy(10, 109, 60, 16));   // "102" on top
        QCOMPARE(square(0, 0), green);
        QCOMPARE(picker->mapTo(m_form.get(), QPoint()), pickerAt);   // the pickers never scroll
    }

    void dayHeadersFitTheirColumns_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("Czech") << QLocale(QLocale::Czech, QLocale::Czechia);
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany);
        QTest::newRow("Portuguese") << QLocale(QLocale::Portuguese, QLocale::Brazil);
    }
    void dayHeadersFitTheirColumns()
    {
        QFETCH(QLocale, locale);
        QFont font;
        font.setPointSize(8);
        for (const QFont &f : {font, QFont(font.family(), 14)}) {
            const QFontMetrics metrics(f);
            QSet<QString> names;
            for (int d = 0; d < 7; ++d) {
                const QDate day = QDate(2026, 12, 7).addDays(d);
                const QString name = ObsazenostGrid::zkratkaDne(day, locale, metrics);
                QVERIFY2(metrics.horizontalAdvance(name) <= ObsazenostGrid::sirkaSloupce,
                         qPrintable(name + " is wider than its column"));
                QVERIFY(!name.isEmpty());
                names << name;
            }
            if (f.pointSize() == 8)
                QVERIFY2(names.size() >= 5, "the days can still be told apart");
        }
        // where the locale's own short name fits, it is kept
        const QFontMetrics metrics(font);
        QCOMPARE(ObsazenostGrid::zkratkaDne(QDate(2026, 12, 7), QLocale(QLocale::Czech), metrics), QStringLiteral("po"));
    }

    void aboutBox()
    {
        show();
        // The item opens its box from the event loop.
        bool opened = false;
        GuiTest::inModal<TAboutBox>([&] {
                                        m_form->findChild<QAction *>("OAplikaci")->trigger();
                                        QTRY_VERIFY_WITH_TIMEOUT(opened, 10000);
                                    },
                                    [&](TAboutBox *box) {
                                        opened = true;
                                        QCOMPARE(box->windowTitle(), QStringLiteral("About"));
                                        CONTROL(QLabel, product, box, "ProductName");
                                        QCOMPARE(product->text(), QStringLiteral("Vitrana 1.0"));
                                        CONTROL(QPushButton, ok, box, "OKButton");
                                        GuiTest::click(ok);
                                        QVERIFY(!box->isVisible());
                                    });
    }

    void theWebRoadNeedsNoWindow()
    {
        // A site that takes whatever comes and answers nothing: an import never ends well.
        QTcpServer site;
        QVERIFY(site.listen(QHostAddress::LocalHost, 0));
        QByteArray atSite;
        connect(&site, &QTcpServer::newConnection, &site, [&] {
            while (QTcpSocket *c = site.nextPendingConnection())
                connect(c, &QTcpSocket::readyRead, c, [&atSite, c] { atSite += c->readAll(); });
        });
        CasovaniWebu fast;
        fast.pripojeno = 20;
        fast.cekaniNaImport = 20;
        Recepce recepce(TestDatabase::config(), false, fast);
        recepce.pripoj();
        SpolupraceSWebem *web = recepce.spoluprace();
        const QString adresa = QStringLiteral("127.0.0.1:%1").arg(site.serverPort());
        web->nastaveni().adresa = adresa;
        const auto guestIsAnswered = [web] {
            QTcpSocket guest;
            QByteArray answer;
            connect(&guest, &QTcpSocket::readyRead, &guest, [&] { answer += guest.readAll(); });
            guest.connectToHost(QHostAddress::LocalHost, web->portNaslouchani());
            guest.write("GET /?cislo_rezervace=17&skript_zpet=http://web.example/zpet.php&vzhled_stranek=2"
                        "&konec_dat=true HTTP/1.1\r\nHost: recepce\r\n\r\n");
            return QTest::qWaitFor([&] { return answer.startsWith("HTTP/1.1 302"); }, 10000);
        };

        // No window yet: the listener answers and an export goes.
        QVERIFY(guestIsAnswered());
        web->ExportCenObsazenosti();
        QTRY_VERIFY_WITH_TIMEOUT(atSite.contains("ceny_a_obsazenost.php"), 10000);

        // A window over the core shows the engine's settings and leaves them as they were.
        {
            TVitranaForm form(&recepce);
            form.createDialogs();
            QCOMPARE(form.spolupraceSWebem()->findChild<QLineEdit *>("AdresaEdit")->text(), adresa);
        }
        QCOMPARE(web->nastaveni().adresa, adresa);

        // Its views are gone, the engine still reports to whoever listens.
        web->ExportTypuPokoju();
        QTRY_VERIFY_WITH_TIMEOUT(atSite.contains("typy_pokoju.php"), 10000);
        QVERIFY(guestIsAnswered());
    }

    void failedLoginIsReported()
    {
        const QByteArray user = qgetenv("VITRANA_DB_USER");
        qputenv("VITRANA_DB_USER", "nikdo_takovy");
        MessageBox::setNextAnswer(QMessageBox::Ok);
        const std::unique_ptr<Recepce> recepce = connectDesk(TestDatabase::config(), false);
        qputenv("VITRANA_DB_USER", user);
        QVERIFY(!recepce);   // no window is made
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history()[0].text, QStringLiteral("Nepodařilo se připojit k databázi."));
        QCOMPARE(MessageBox::history()[0].caption, QStringLiteral("Chyba"));
    }

    void errorsFromHandlersAreShownAndTheApplicationGoesOn_data()
    {
        QTest::addColumn<QString>("veta");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("shown");
        QTest::newRow("the database's words only")
            << QString() << int(DatabaseError::Kind::Statement) << "Akci se nepodařilo dokončit.";
        QTest::newRow("a fault the receptionist can act on")
            << "Spojení s databází bylo přerušeno." << int(DatabaseError::Kind::ConnectionLost)
            << "Akci se nepodařilo dokončit.\nSpojení s databází bylo přerušeno.";
    }
    void errorsFromHandlersAreShownAndTheApplicationGoesOn()
    {
        QFETCH(QString, veta);
        QFETCH(int, kind);
        QFETCH(QString, shown);
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QTimer::singleShot(0, this, [&] {
            throw DatabaseError(veta, "MySQL server has gone away", DatabaseError::Kind(kind));
        });
        QTRY_COMPARE(MessageBox::history().size(), 1);
        // A Czech sentence first, the server's own words as the detail.
        QCOMPARE(MessageBox::history()[0].text, shown);
        QCOMPARE(MessageBox::history()[0].detail, QStringLiteral("MySQL server has gone away"));
        QCOMPARE(MessageBox::history()[0].caption, QStringLiteral("Chyba"));
        bool later = false;
        QTimer::singleShot(0, this, [&] { later = true; });
        QTRY_VERIFY(later);
    }

    void qtSpeaksTheDesksLanguage()
    {
        auto *app = static_cast<VitranaApplication *>(qApp);
        QVERIFY2(app->loadQtTranslations(QLocale(QLocale::Czech, QLocale::Czechia)),
                 "Qt's Czech translations are installed (qt6-translations-l10n)");
        QMessageBox box(QMessageBox::NoIcon, "Varování", "?", QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Zrušit"));
        app->loadQtTranslations(QLocale(QLocale::English, QLocale::UnitedStates));
        QMessageBox english(QMessageBox::NoIcon, "Warning", "?", QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(english.button(QMessageBox::Cancel)->text(), QStringLiteral("Cancel"));
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestVitranaForm test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_vitranaform.moc"
