// Start-up of the main window against the settings store, and its failure
// paths; the port choice, leaving the program and choosing a language.
#include "tests/app/WindowFixture.h"

#include "widgets/T270Meter.h"

#include "link/ComPortMap.h"
#include "link/Session.h"
#include "link/ESerialPort.h"
#include "link/TSerialPort.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QTimer>

#include <pty.h>
#include <unistd.h>

namespace {

QStringList numbers(int from, int to)
{
    QStringList out;
    for (int n = from; n <= to; ++n)
        out << QString::number(n);
    return out;
}

const QStringList kTail{QStringLiteral("Połącz"), QStringLiteral("Rozłącz")};

// --- ports present and the stored port name ------------------------------

struct StoredPortCase
{
    const char *label;
    QStringList present;
    std::optional<QString> storedPort;
    QStringList expectedMenu;
    QStringList expectedChecked;
    QString expectedPort;
};

void PrintTo(const StoredPortCase &c, std::ostream *os)
{
    *os << c.label;
}

class StartupPortTest : public WindowFixture, public ::testing::WithParamInterface<StoredPortCase>
{
};

TEST_P(StartupPortTest, MenuChecksAndPortNameFollowTheSystemAndTheStore)
{
    const StoredPortCase &c = GetParam();
    if (c.storedPort)
        seed(kPortKey, QStringLiteral("Port"), *c.storedPort);

    TZENU &w = start(c.present);

    EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
    EXPECT_EQ(texts(w.PortCOM), c.expectedMenu);
    EXPECT_EQ(checkedNames(w.PortCOM), c.expectedChecked);
    EXPECT_EQ(w.ComPort1->port(), c.expectedPort);
    EXPECT_FALSE(w.ComPort1->connected());
    // The hidden list box carries the system's list as it came.
    auto *list = w.component<QComboBox>(QStringLiteral("ComComboBox1"));
    ASSERT_NE(list, nullptr);
    QStringList listed;
    for (int i = 0; i < list->count(); ++i)
        listed << list->itemText(i);
    EXPECT_EQ(listed, c.present);
}

INSTANTIATE_TEST_SUITE_P(
    Store, StartupPortTest,
    ::testing::Values(
        // First start: nothing stored, so loading empties the port name.
        StoredPortCase{"first_start", {"COM1", "COM4"}, std::nullopt, QStringList{"COM1", "COM4"} + kTail, {}, ""},
        StoredPortCase{"stored_present", {"COM1", "COM4"}, QString("COM4"), QStringList{"COM1", "COM4"} + kTail,
                       {"COM4"}, "COM4"},
        // A port that is gone stays the port name but checks nothing.
        StoredPortCase{"stored_absent", {"COM1", "COM4"}, QString("COM9"), QStringList{"COM1", "COM4"} + kTail, {},
                       "COM9"},
        StoredPortCase{"no_ports", {}, QString("COM2"), kTail, {}, "COM2"}),
    [](const auto &info) { return std::string(info.param.label); });

TEST_F(WindowFixture, StartupResetsLinkStateAndGivesTheEngineDialItsIdleLook)
{
    TZENU &w = start({QStringLiteral("COM1")});
    const Session &link = w.session();
    EXPECT_TRUE(link.queue().current().isEmpty() && link.queue().next().isEmpty()
                && link.queue().afterNext().isEmpty());
    EXPECT_TRUE(link.linkState().isEmpty());
    EXPECT_TRUE(link.rxBuffer().isEmpty());
    EXPECT_EQ(link.lastCommandCode(), -1);
    EXPECT_EQ(w.CalibrationStep, -1);
    EXPECT_EQ(link.connectRetries(), 5);

    auto *dial = qobject_cast<T270Meter *>(w.RPM_zegar);
    ASSERT_NE(dial, nullptr);
    EXPECT_EQ(dial->SectorSettings().Offset(), 300);
    EXPECT_EQ(dial->ArrowSettings().Shape(), 2);
}

// --- the stored language -----------------------------------------------------

struct LanguageCase
{
    const char *label;
    std::optional<QString> storedKey;
    QString expectedKey;
    QString expectedChecked;
    QString expectedTimeoutMessage; // row 11 in column 0 after start-up
};

void PrintTo(const LanguageCase &c, std::ostream *os)
{
    *os << c.label;
}

class StartupLanguageTest : public WindowFixture, public ::testing::WithParamInterface<LanguageCase>
{
};

TEST_P(StartupLanguageTest, StoredKeyChoosesTheLanguageItem)
{
    const LanguageCase &c = GetParam();
    if (c.storedKey)
        seed(kLangKey, QStringLiteral("CurLang"), *c.storedKey);

    TZENU &w = start({QStringLiteral("COM1")});

    EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
    EXPECT_EQ(w.currentLanguageKey(), c.expectedKey);
    EXPECT_EQ(checkedNames(w.Jazyk), QStringList{c.expectedChecked});
    ASSERT_NE(w.languageTable(), nullptr);
    EXPECT_EQ(w.languageTable()->message(11), c.expectedTimeoutMessage);
}

const QString kBuiltInTimeout = QStringLiteral("Time out - błąd w transmisji (Brak Strownika) ");

INSTANTIATE_TEST_SUITE_P(
    Store, StartupLanguageTest,
    ::testing::Values(
        LanguageCase{"nothing_stored", std::nullopt, "PolskiPL", "PolskiPL", "Brak Sterownika"},
        LanguageCase{"empty_value", QString(""), "PolskiPL", "PolskiPL", "Brak Sterownika"},
        LanguageCase{"english", QString("AngielskiGB"), "AngielskiGB", "AngielskiGB", "No LPG Controller"},
        LanguageCase{"czech", QString("Ceski"), "Ceski", "Ceski", "Nepřipojená (chybí) řídící jednotka plynu"},
        // The disabled item chooses nothing: Polish check, built-in messages.
        LanguageCase{"russian", QString("Russian"), "Russian", "PolskiPL", kBuiltInTimeout},
        // Keys compare exactly.
        LanguageCase{"wrong_case", QString("angielskiGB"), "angielskiGB", "PolskiPL", kBuiltInTimeout},
        LanguageCase{"unknown", QString("Klingon"), "Klingon", "PolskiPL", kBuiltInTimeout}),
    [](const auto &info) { return std::string(info.param.label); });

TEST_F(WindowFixture, ChosenLanguageIsWrittenBackAtOnce)
{
    start(QStringList{});
    EXPECT_EQ(stored(kLangKey, QStringLiteral("CurLang")), QStringLiteral("PolskiPL"));
    item(QStringLiteral("NiemieckiDE"))->trigger();
    EXPECT_EQ(stored(kLangKey, QStringLiteral("CurLang")), QStringLiteral("NiemieckiDE"));
    EXPECT_EQ(checkedNames(window->Jazyk), QStringList{"NiemieckiDE"});
    EXPECT_EQ(window->languageTable()->message(11), QStringLiteral("Kein Steuergerät Gefunden"));
}

TEST_F(WindowFixture, ChoosingTheCheckedLanguageAgainKeepsItChecked)
{
    start(QStringList{});
    item(QStringLiteral("PolskiPL"))->trigger(); // a click unchecks a checked item first
    EXPECT_EQ(checkedNames(window->Jazyk), QStringList{"PolskiPL"});
}

TEST_F(WindowFixture, FlagButtonsChooseTheirLanguageAndTheRussianOneNothing)
{
    start(QStringList{});
    auto *czech = window->component<QAbstractButton>(QStringLiteral("GCeski"));
    auto *russian = window->component<QAbstractButton>(QStringLiteral("GRussian"));
    ASSERT_TRUE(czech && russian);

    czech->click();
    EXPECT_EQ(window->currentLanguageKey(), QStringLiteral("Ceski"));
    EXPECT_EQ(checkedNames(window->Jazyk), QStringList{"Ceski"});

    window->LangClick(russian); // even if it were reachable
    EXPECT_EQ(window->currentLanguageKey(), QStringLiteral("Ceski"));
    EXPECT_EQ(checkedNames(window->Jazyk), QStringList{"Ceski"});
}

// --- failures at start-up --------------------------------------------------

TEST_F(WindowFixture, ListingFailureStopsStartupWithTheWindowDefinitionsState)
{
    seed(kPortKey, QStringLiteral("Port"), QStringLiteral("COM4"));
    seed(kLangKey, QStringLiteral("CurLang"), QStringLiteral("AngielskiGB"));

    TZENU &w = startWith([]() -> QStringList { throw ESerialPort(QStringLiteral("Registry error"), 2); });

    EXPECT_EQ(messages, QStringList{"Registry error (win error code: 2)"});
    EXPECT_EQ(texts(w.PortCOM), numbers(1, 30) + kTail);
    EXPECT_TRUE(checkedNames(w.PortCOM).isEmpty());
    EXPECT_EQ(w.ComPort1->port(), QStringLiteral("COM7"));
    EXPECT_EQ(checkedNames(w.Jazyk), QStringList{"PolskiPL"});
    EXPECT_EQ(w.languageTable()->message(11), kBuiltInTimeout);
    // The dial keeps the look of the window definition: sectors on the dial, broad needle.
    ASSERT_NE(qobject_cast<T270Meter *>(w.RPM_zegar), nullptr);
    EXPECT_EQ(qobject_cast<T270Meter *>(w.RPM_zegar)->SectorSettings().Offset(), 0);
    EXPECT_EQ(qobject_cast<T270Meter *>(w.RPM_zegar)->ArrowSettings().Shape(), 6);
    // The link state was emptied before the listing failed.
    EXPECT_EQ(w.session().lastCommandCode(), -1);
}

TEST_F(WindowFixture, LoadFailureSkipsCheckMarksLanguageAndDialLook)
{
    // "Custom" without its rate cannot be loaded.
    seed(kPortKey, QStringLiteral("Port"), QStringLiteral("COM4"));
    seed(kPortKey, QStringLiteral("BaudRate"), QStringLiteral("Custom"));
    seed(kLangKey, QStringLiteral("CurLang"), QStringLiteral("AngielskiGB"));

    TZENU &w = start({QStringLiteral("COM1"), QStringLiteral("COM4")});

    EXPECT_EQ(messages, QStringList{"Failed to load settings"});
    // Steps before the load did run.
    EXPECT_EQ(texts(w.PortCOM), QStringList({"COM1", "COM4"}) + kTail);
    EXPECT_EQ(w.ComPort1->port(), QStringLiteral("COM1"));
    EXPECT_EQ(w.session().connectRetries(), 5);
    // Steps after it did not.
    EXPECT_TRUE(checkedNames(w.PortCOM).isEmpty());
    EXPECT_EQ(w.currentLanguageKey(), QStringLiteral("PolskiPL"));
    EXPECT_EQ(checkedNames(w.Jazyk), QStringList{"PolskiPL"});
    EXPECT_EQ(w.languageTable()->message(11), kBuiltInTimeout);
    // The dial keeps the look of the window definition: sectors on the dial, broad needle.
    ASSERT_NE(qobject_cast<T270Meter *>(w.RPM_zegar), nullptr);
    EXPECT_EQ(qobject_cast<T270Meter *>(w.RPM_zegar)->SectorSettings().Offset(), 0);
    EXPECT_EQ(qobject_cast<T270Meter *>(w.RPM_zegar)->ArrowSettings().Shape(), 6);
}

// --- choosing a port ----------------------------------------------------------

TEST_F(WindowFixture, PortThatCannotOpenShowsTheSerialMessageAndDoesNotConnect)
{
    TZENU &w = start({QStringLiteral("COM1"), QStringLiteral("COM4")});
    item(QStringLiteral("COM1"))->setChecked(true);

    item(QStringLiteral("COM4"))->trigger();

    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().startsWith(QStringLiteral("Unable to open com port (win error code: ")))
        << messages.first().toStdString();
    EXPECT_EQ(w.ComPort1->port(), QStringLiteral("COM4"));
    EXPECT_EQ(w.ComPort1->baudRate(), BaudRateChoice::Custom);
    EXPECT_EQ(checkedNames(w.PortCOM), QStringList{"COM4"});
    EXPECT_FALSE(w.ComPort1->connected());
    // No connect attempted: no handshake state, no answer time-out running.
    EXPECT_TRUE(w.session().linkState().isEmpty());
    EXPECT_FALSE(w.Timer_Czekaj_na_odczyt->isActive());
}

// A pseudo-terminal registered under a COM name stands in for an adapter.
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        char name[256] = {};
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) == 0)
            m_path = QString::fromLocal8Bit(name);
    }
    ~PseudoTerminal()
    {
        if (!m_path.isEmpty()) {
            ::close(m_master);
            ::close(m_slave);
        }
    }
    QString path() const { return m_path; }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
};

TEST_F(WindowFixture, PortThatOpensStartsTheConnectFromTheConnectItem)
{
    PseudoTerminal pty;
    ASSERT_FALSE(pty.path().isEmpty());
    seed(ComPortMap::storeKeyPath(), QStringLiteral("COM4"), pty.path());
    seed(kPortKey, QStringLiteral("Port"), QStringLiteral("COM1"));
    seed(kPortKey, QStringLiteral("BaudRate"), QStringLiteral("9600"));

    TZENU &w = start({QStringLiteral("COM1"), QStringLiteral("COM4")});
    ASSERT_EQ(checkedNames(w.PortCOM), QStringList{"COM1"});
    ASSERT_EQ(w.ComPort1->baudRate(), BaudRateChoice::Br9600);

    item(QStringLiteral("COM4"))->trigger();

    EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
    EXPECT_TRUE(w.ComPort1->connected());
    EXPECT_EQ(w.ComPort1->port(), QStringLiteral("COM4"));
    EXPECT_EQ(w.ComPort1->baudRate(), BaudRateChoice::Custom);
    EXPECT_EQ(checkedNames(w.PortCOM), QStringList{"COM4"});
    // The connect of the "Połącz" item: a fresh budget and the handshake begun.
    EXPECT_EQ(w.session().connectRetries(), 5);
    EXPECT_EQ(w.session().linkState(), Session::WaitStart);
    EXPECT_TRUE(w.Timer_Czekaj_na_odczyt->isActive());
    w.ComPort1->close();
}

TEST_F(WindowFixture, ConnectRetriesResetOnlyForTheConnectItem)
{
    TZENU &w = start(QStringList{});
    w.polaczClick(nullptr); // a retry of the session itself uses up an attempt
    EXPECT_EQ(w.session().connectRetries(), 4);
    w.polacz->trigger();
    EXPECT_EQ(w.session().connectRetries(), 5);
}

// --- leaving -------------------------------------------------------------------

TEST_F(WindowFixture, ExitClosesTheWindowWithTimersStoppedAndPortClosed)
{
    PseudoTerminal pty;
    ASSERT_FALSE(pty.path().isEmpty());
    seed(ComPortMap::storeKeyPath(), QStringLiteral("COM3"), pty.path());
    TZENU &w = start({QStringLiteral("COM3")});
    w.show();
    item(QStringLiteral("COM3"))->trigger();
    ASSERT_TRUE(w.ComPort1->connected());
    w.Timer_Count->start();
    w.Timer_Czekaj_na_odczyt->start();

    item(QStringLiteral("Exit1"))->trigger();

    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.Timer_Count->isActive());
    EXPECT_FALSE(w.Timer_Czekaj_na_odczyt->isActive());
    EXPECT_FALSE(w.ComPort1->connected());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
}

} // namespace
