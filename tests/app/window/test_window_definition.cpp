// The window as it stands after start-up: every component under its name and
// in its place, the initial states, the Info links.
#include "tests/app/WindowFixture.h"

#include "link/TSerialPort.h"
#include "widgets/TToggleSwitch.h"

#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QXYSeries>

namespace {

class DefinitionTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        // A stored key that chooses no language: every text stays the
        // definition's own (the switch has tests of its own).
        seed(kLangKey, QStringLiteral("CurLang"), QStringLiteral("Russian"));
        start({QStringLiteral("COM1"), QStringLiteral("COM4")});
    }

    // Exactly one object of that name, so no two places claim it.
    QObject *only(const QString &name) const
    {
        const QList<QObject *> found = window->findChildren<QObject *>(name);
        return found.size() == 1 ? found.first() : nullptr;
    }
};

// Names of every component that sits on a widget, with the ancestor it must
// sit in (the top panel, a tab page or a group).
struct Placement
{
    const char *container;
    std::vector<const char *> names;
};

const std::vector<Placement> kPlacements = {
    {"Panel1Gora",
     {"BATERY_vpp", "GroupBox6", "Skala_PB_time", "Skala_LPG_time", "Label3", "Label4", "aaa", "GroupBox4",
      "lambda_1", "lambda_2", "Slala_P_MAP", "Skala_P1_MAP", "P_MAP_edit", "P1_MAP_edit", "RPM_zegar", "RPM_Edit",
      "Zaplon_panel", "GroupBox8", "TempWoda", "TempGaz", "GroupBox5", "Polacz_switch", "Error_Led", "szybkosc",
      "ComComboBox1"}},
    {"aaa",
     {"Cyl_0_led", "Cyl_1_led", "Cyl_2_led", "Cyl_3_led", "Cyl_4_led", "Cyl_5_led", "Cyl_6_led", "Cyl_7_led",
      "Cyl_0_show", "Cyl_1_show", "Cyl_2_show", "Cyl_3_show", "Cyl_4_show", "Cyl_5_show", "Cyl_6_show",
      "Cyl_7_show"}},
    {"Zaplon_panel", {"paliwo_Switch", "rezerwa_led_gora", "Gaz_led_1g", "Gaz_led_2g", "Gaz_led_3g", "Gaz_led_4g"}},
    {"TabSheet1",
     {"GroupBox25", "Label34", "Sel_cyl", "Label35", "Sel_Impuls", "Label36", "Sel_RPM_signal", "Label37",
      "Sel_Typ_silnika", "Label38", "Sel_Typ_wtrysku_Petrol", "Label39", "ComboBox17", "Label40",
      "Check_Injector_plus"}},
    {"TabSheet2",
     {"GroupBox12", "Sel_Typ_wtrysku", "GroupBox15", "LPG_RadioButton", "CNG_RadioButton", "GroupBox19", "Label20",
      "P1_MAP_changer", "Label21", "T_RED_changer", "Label22", "T_GAZ_changer", "GroupBox14", "P_pracy_changer",
      "P_min_changer"}},
    {"TabSheet3", {"Label28", "Button_start", "Button_stop", "Adaptacja_progres", "Adaptacja_info"}},
    {"TabSheet4", {"Chart1", "PaintBox1", "Panel4", "SpinButton1", "Button3", "zoom", "BitBtn1", "BitBtn2"}},
    {"TabSheet5", {"Label19", "Actual_errors_Memo", "Label18", "Register_errors_memo", "Button2"}},
    {"TabSheet7", {"Oscyloskop", "OSC_PETROL_LPG", "OSC_MAP_P1", "TEMP_LPG_RED", "RPM_LAMBDA1", "RPM_LAMBDA2"}},
    {"TabSheet8",
     {"Label5", "Label6", "Skala_PB_time1", "Skala_PB_time2", "Skala_PB_time3", "Skala_PB_time4", "Skala_PB_time5",
      "Skala_PB_time6", "Skala_PB_time7", "Skala_PB_time8", "Skala_LPG_time1"}},
    {"TabSheet9",
     {"GroupBox17", "Label24", "Check_by_first", "T_zwloki_changer", "RPM_Max_To_Petrol", "Dial5", "GroupBox13",
      "Temp_LPG_changer", "T_przel_to_LPG", "T_CYL_seqence", "RPM_Prog_przel", "Dial6", "GroupBox18", "Ch_U_LPG_1",
      "Ch_U_LPG_2", "Ch_U_LPG_3", "Ch_U_LPG_4", "Rodz_czuj_LPG", "Label17", "Ch_U_LPG_changer", "U_zbiornika",
      "Label16", "Rezerwa_led_panel", "Gaz_led_1p", "Gaz_led_2p", "Gaz_led_3p", "Gaz_led_4p"}},
    {"TabSheet10", {"ParametryOBD2", "Label25", "Label26", "GroupBox20", "GroupBox21"}},
    {"TabSheet11", {"Help_Memo"}},
    {"TabSheet12",
     {"Panel1", "ZENU_Linl_label", "Label23", "GNiemieckiDE", "GAngielskiGB", "GPolskiPL", "GRussian", "GCeski"}},
};

TEST_F(DefinitionTest, EveryNamedComponentExistsOnceInsideItsArea)
{
    for (const Placement &p : kPlacements) {
        QObject *container = only(QString::fromLatin1(p.container));
        ASSERT_NE(container, nullptr) << p.container;
        for (const char *name : p.names) {
            auto *w = qobject_cast<QWidget *>(only(QString::fromLatin1(name)));
            ASSERT_NE(w, nullptr) << name << " missing, duplicated or not a widget";
            EXPECT_TRUE(static_cast<QWidget *>(container)->isAncestorOf(w)) << name << " not in " << p.container;
        }
    }
}

TEST_F(DefinitionTest, NonVisualComponentsAndMenusCarryTheirNames)
{
    struct Named
    {
        const char *name;
        const char *className;
    };
    const Named named[] = {
        {"ZENU", "TZENU"},           {"ComPort1", "TSerialPort"},      {"Timer_Count", "QTimer"},
        {"Timer_Czekaj_na_odczyt", "QTimer"}, {"Adaptacja_Timer", "QTimer"}, {"StatusBar1", "QStatusBar"},
        {"tab_control", "QTabWidget"}, {"Pliki1", "QMenu"},            {"PortCOM", "QMenu"},
        {"Jazyk", "QMenu"},          {"Odczyt1", "QAction"},           {"Zapis1", "QAction"},
        {"Reset1", "QAction"},       {"Exit1", "QAction"},             {"polacz", "QAction"},
        {"rozlacz1", "QAction"},     {"NiemieckiDE", "QAction"},       {"AngielskiGB", "QAction"},
        {"PolskiPL", "QAction"},     {"Russian", "QAction"},           {"Ceski", "QAction"},
        {"Chart1", "QChartView"},
    };
    for (const Named &n : named) {
        QObject *o = QString::fromLatin1(n.name) == QLatin1String("ZENU") ? window.get() : only(QString::fromLatin1(n.name));
        ASSERT_NE(o, nullptr) << n.name;
        EXPECT_TRUE(o->inherits(n.className)) << n.name << " is " << o->metaObject()->className();
    }
    EXPECT_EQ(window->objectName(), QStringLiteral("ZENU"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" ver. 1.03"));
}

TEST_F(DefinitionTest, ElevenTabsInOrderWithPetrolPanelShown)
{
    const std::pair<const char *, const char *> tabs[] = {
        {"TabSheet1", "Panel Petrol"}, {"TabSheet2", "Panel Gaz"},      {"TabSheet3", "Adaptacja"},
        {"TabSheet4", "Mapa"},         {"TabSheet5", "Error"},          {"TabSheet7", "Oscyloskop"},
        {"TabSheet8", "Diagnostyka"},  {"TabSheet9", "Przełącznik"},    {"TabSheet10", "OBDII"},
        {"TabSheet11", "Help"},        {"TabSheet12", "Info"}};
    QTabWidget *tabWidget = window->tab_control;
    ASSERT_EQ(tabWidget->count(), int(std::size(tabs)));
    for (int i = 0; i < tabWidget->count(); ++i) {
        EXPECT_EQ(tabWidget->widget(i)->objectName(), QString::fromLatin1(tabs[i].first)) << i;
        EXPECT_EQ(tabWidget->tabText(i), QString::fromUtf8(tabs[i].second)) << i;
        EXPECT_EQ(tabWidget->isTabEnabled(i), i != 8) << tabs[i].first; // only OBDII is off
    }
    EXPECT_EQ(tabWidget->currentIndex(), 0);
}

TEST_F(DefinitionTest, MenuItemsCarryTheirCaptionsAndInitialStates)
{
    struct MenuItem
    {
        const char *name;
        const char *text;
        bool visible;
        bool enabled;
        bool checked;
    };
    const MenuItem items[] = {
        {"Odczyt1", "Odczyt", false, false, false},   {"Zapis1", "Zapis", false, false, false},
        {"Reset1", "Reset", false, false, false},     {"Exit1", "Exit", true, true, false},
        // A settings file can be looked at offline; a comparison needs a block first.
        {"PokazPlik1", "Pokaż plik ustawień…", true, true, false},
        {"Porownaj1", "Porównaj z plikiem…", true, false, false},
        {"polacz", "Połącz", true, true, false},      {"rozlacz1", "Rozłącz", true, true, false},
        {"NiemieckiDE", "Deutsch", true, true, false}, {"AngielskiGB", "English", true, true, false},
        {"PolskiPL", "Polski", true, true, true},     {"Russian", "Russian", true, false, false},
        {"Ceski", "Ceski", true, true, false},
    };
    for (const MenuItem &m : items) {
        QAction *a = item(QString::fromLatin1(m.name));
        ASSERT_NE(a, nullptr) << m.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(m.text)) << m.name;
        EXPECT_EQ(a->isVisible(), m.visible) << m.name;
        EXPECT_EQ(a->isEnabled(), m.enabled) << m.name;
        EXPECT_EQ(a->isChecked(), m.checked) << m.name;
    }
    const QStringList menuTitles{window->Pliki1->title(), window->PortCOM->title(), window->Jazyk->title()};
    EXPECT_EQ(menuTitles, QStringList({"Plik", "Porty", "Język"}));
    QStringList languageOrder;
    for (const QAction *a : window->Jazyk->actions())
        languageOrder << a->objectName();
    EXPECT_EQ(languageOrder, QStringList({"NiemieckiDE", "AngielskiGB", "PolskiPL", "Russian", "Ceski"}));
}

TEST_F(DefinitionTest, TimersAreOffWithTheirIntervals)
{
    const std::pair<QTimer *, int> timers[] = {
        {window->Timer_Count, 240}, {window->Timer_Czekaj_na_odczyt, 3000}, {window->Adaptacja_Timer, 1000}};
    for (const auto &[timer, interval] : timers) {
        ASSERT_NE(timer, nullptr);
        EXPECT_FALSE(timer->isActive()) << timer->objectName().toStdString();
        EXPECT_EQ(timer->interval(), interval) << timer->objectName().toStdString();
        EXPECT_EQ(timer->parent(), window.get());
    }
}

TEST_F(DefinitionTest, StatusBarAndPortComponentStartAsDefined)
{
    EXPECT_EQ(window->statusPanelText(), QStringLiteral("ZENU ver."));
    auto *panel = window->findChild<QStatusBar *>(QStringLiteral("StatusBar1"))->findChild<QLabel *>();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->text(), QStringLiteral("ZENU ver."));
    window->setStatusPanelText(QStringLiteral("ZENU ver. 3.07.07"));
    EXPECT_EQ(panel->text(), QStringLiteral("ZENU ver. 3.07.07"));

    EXPECT_EQ(window->ComPort1->objectName(), QStringLiteral("ComPort1"));
    EXPECT_FALSE(window->ComPort1->connected());
    EXPECT_EQ(window->ComPort1->customBaudRate(), 7200);
}

TEST_F(DefinitionTest, InactiveAndHiddenComponentsAsDefined)
{
    struct State
    {
        const char *name;
        bool enabled;
        bool hidden;
    };
    const State states[] = {
        {"Label38", false, false},        {"Label39", false, false},
        {"Sel_Typ_wtrysku_Petrol", false, false}, {"ComboBox17", false, false},
        {"GroupBox15", false, true},      {"LPG_RadioButton", false, false},
        {"CNG_RadioButton", false, false}, {"P1_MAP_changer", false, false},
        {"T_RED_changer", false, false},  {"T_GAZ_changer", false, false},
        {"Dial5", false, false},          {"Dial6", false, false},
        {"ParametryOBD2", false, false},  {"Label25", false, false},
        {"GRussian", false, false},       {"Zaplon_panel", false, false},
        {"paliwo_Switch", false, false},  {"Error_Led", true, true},
        {"szybkosc", true, true},         {"ComComboBox1", true, true},
        {"Ch_U_LPG_changer", true, true}, {"Adaptacja_progres", false, false},
        // Controls the user works with start enabled and shown.
        {"Sel_cyl", true, false},         {"Sel_Typ_wtrysku", true, false},
        {"Polacz_switch", true, false},   {"Button_start", true, false},
        {"Button_stop", true, false},     {"GCeski", true, false},
    };
    for (const State &s : states) {
        auto *w = window->component(QString::fromLatin1(s.name));
        ASSERT_NE(w, nullptr) << s.name;
        EXPECT_EQ(w->isEnabled(), s.enabled) << s.name;
        EXPECT_EQ(w->isHidden(), s.hidden) << s.name;
    }
}

TEST_F(DefinitionTest, ListControlsHoldTheirItemsWithNothingChosen)
{
    struct Items
    {
        const char *name;
        QStringList items;
        int current;
    };
    const QStringList cylinders{"3 cyl.", "4 cyl.", "5 cyl.", "6 cyl.", "8 cyl."};
    const Items lists[] = {
        {"Sel_cyl", cylinders, -1},
        {"Sel_Impuls", QStringList{"Cewka pojedyncza", "Cewka podwójna"} + cylinders, -1},
        {"Sel_RPM_signal", {"Low  5V", "High 12V"}, -1},
        {"Sel_Typ_silnika", {"Standard", "Turbo"}, -1},
        {"Sel_Typ_wtrysku",
         {"Valtek/Rail 1 Ohm", "Valtek/Rail 2 Ohm", "Valtek/Rail 3 OHM", "Matrix ", "BRC", "Keihin"},
         -1},
        {"Rodz_czuj_LPG", {"0-90 Ohm", "90-0 Ohm"}, -1},
        {"P1_MAP_changer", {"ZENU 01"}, -1},
        {"T_RED_changer", {"2,2"}, -1},
        {"T_GAZ_changer", {"2,2"}, -1},
        {"Sel_Typ_wtrysku_Petrol", {"Standardowy"}, -1},
        {"ComboBox17", {"Napięciowa", "Prądowa"}, -1},
        {"szybkosc", {"7200"}, 0},
    };
    for (const Items &l : lists) {
        auto *combo = window->component<QComboBox>(QString::fromLatin1(l.name));
        ASSERT_NE(combo, nullptr) << l.name;
        QStringList actual;
        for (int i = 0; i < combo->count(); ++i)
            actual << combo->itemText(i);
        EXPECT_EQ(actual, l.items) << l.name;
        EXPECT_EQ(combo->currentIndex(), l.current) << l.name;
    }
}

TEST_F(DefinitionTest, ButtonsChecksAndTextsStartAsDefined)
{
    const std::pair<const char *, const char *> captions[] = {
        {"Button_start", "START"}, {"Button_stop", "STOP"}, {"Button2", "Reset"},
        {"Button3", "X"},          {"BitBtn1", "Gaz"},      {"BitBtn2", "Petrol"}};
    for (const auto &[name, text] : captions) {
        auto *b = window->component<QAbstractButton>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->text(), QString::fromUtf8(text)) << name;
    }
    // The two toggle switches start off and show their off texts.
    const std::pair<const char *, const char *> switches[] = {{"Polacz_switch", "Rozłączony"},
                                                              {"paliwo_Switch", "PB"}};
    for (const auto &[name, text] : switches) {
        auto *s = window->component<TToggleSwitch>(QString::fromLatin1(name));
        ASSERT_NE(s, nullptr) << name;
        EXPECT_FALSE(s->Checked()) << name;
        EXPECT_EQ(s->ShownText(), QString::fromUtf8(text)) << name;
    }
    // The user throws the connection switch; the fuel switch only reports clicks.
    EXPECT_EQ(window->component<TToggleSwitch>(QStringLiteral("Polacz_switch"))->Mode(), mSwitch);
    EXPECT_EQ(window->component<TToggleSwitch>(QStringLiteral("paliwo_Switch"))->Mode(), mIndicator);

    const std::pair<const char *, const char *> labels[] = {
        {"Error_Led", "*  *  *  E r r o r  *  *  *"}, {"zoom", "<< [ms] >>"},
        {"Label19", "Błędy aktualne"},                {"Label18", "Błędy zarejestrowane"},
        {"Label16", "Odczyt [V]"},                    {"Label17", "Rodzaj czujnika"},
        {"Label24", "Przełącz przy pierwszym spadku ciśnienia"}, {"Label40", "Wtryskiwacze dodatnie"},
        {"ZENU_Linl_label", "http://www.example.com/zenu"}, {"Label23", "zenu@example.com"}};
    for (const auto &[name, text] : labels) {
        auto *l = window->component<QLabel>(QString::fromLatin1(name));
        ASSERT_NE(l, nullptr) << name;
        EXPECT_EQ(l->text(), QString::fromUtf8(text)) << name;
    }

    for (int k = 0; k < 8; ++k) {
        auto *show = window->component<QRadioButton>(QStringLiteral("Cyl_%1_show").arg(k));
        ASSERT_NE(show, nullptr);
        EXPECT_EQ(show->isChecked(), k == 0) << k;
    }
    for (const char *view : {"OSC_PETROL_LPG", "OSC_MAP_P1", "TEMP_LPG_RED", "RPM_LAMBDA1", "RPM_LAMBDA2"})
        EXPECT_FALSE(window->component<QRadioButton>(QString::fromLatin1(view))->isChecked()) << view;

    for (int j = 1; j <= 4; ++j) {
        auto *threshold = window->component<QLineEdit>(QStringLiteral("Ch_U_LPG_%1").arg(j));
        EXPECT_EQ(threshold->text(), QStringLiteral("0,00"));
        EXPECT_EQ(threshold->maxLength(), 4);
    }
    auto *reading = window->component<QLineEdit>(QStringLiteral("U_zbiornika"));
    EXPECT_EQ(reading->text(), QStringLiteral("0.00"));
    EXPECT_TRUE(reading->isReadOnly());
    for (const char *memo : {"Actual_errors_Memo", "Register_errors_memo", "Help_Memo"})
        EXPECT_TRUE(window->component<QPlainTextEdit>(QString::fromLatin1(memo))->isReadOnly()) << memo;
}

TEST_F(DefinitionTest, MapChartHasItsSeriesInTheFixedOrderAndTheMouseAreaOverThePlot)
{
    auto *view = window->component<QChartView>(QStringLiteral("Chart1"));
    ASSERT_NE(view, nullptr);
    QStringList order;
    for (const QAbstractSeries *s : view->chart()->series())
        order << s->objectName();
    // The eight addressed series first; the yellow overlay of a marked area and
    // the map fit's proposal after them.
    EXPECT_EQ(order, QStringList({"Series1", "Series2", "Series3", "Series4", "Series5", "Series7", "Series6",
                                  "Series8", "Series1Area", "SeriesFit"}));
    // The chart grows with the window; the mouse area lies over the plot at any size.
    window->show();
    window->tab_control->setCurrentWidget(window->component(QStringLiteral("TabSheet4")));
    QApplication::processEvents();
    const QRectF plot = view->chart()->plotArea();
    EXPECT_GE(plot.width(), 600);
    EXPECT_GE(plot.height(), 150);
    auto *mouseArea = window->component(QStringLiteral("PaintBox1"));
    EXPECT_EQ(mouseArea->geometry(), plot.toRect());
    EXPECT_EQ(window->component(QStringLiteral("Panel4"))->height(), 97);
}

// --- Info links --------------------------------------------------------------

QColor textColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

void moveOver(QWidget *w)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

void clickOn(QWidget *w, Qt::MouseButton button)
{
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), button,
                      type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
}

TEST_F(DefinitionTest, LinkLabelsTurnBlueUnderTheMouseAndBackOverThePanel)
{
    auto *web = window->component<QLabel>(QStringLiteral("ZENU_Linl_label"));
    auto *mail = window->component<QLabel>(QStringLiteral("Label23"));
    auto *panel = window->component(QStringLiteral("Panel1"));
    const QColor blue(0x00, 0x00, 0xFF);
    const QColor windowText = QApplication::palette().color(QPalette::WindowText);
    ASSERT_NE(windowText, blue);

    moveOver(web);
    EXPECT_EQ(textColour(web), blue);
    EXPECT_EQ(textColour(mail), windowText);

    moveOver(mail);
    EXPECT_EQ(textColour(web), blue); // only the panel turns them back
    EXPECT_EQ(textColour(mail), blue);

    moveOver(panel);
    EXPECT_EQ(textColour(web), windowText);
    EXPECT_EQ(textColour(mail), windowText);
}

TEST_F(DefinitionTest, LinkClicksOpenTheWebAddressAndTheMailAddress)
{
    auto *web = window->component<QLabel>(QStringLiteral("ZENU_Linl_label"));
    auto *mail = window->component<QLabel>(QStringLiteral("Label23"));

    clickOn(web, Qt::LeftButton);
    clickOn(mail, Qt::LeftButton);
    clickOn(web, Qt::RightButton); // not a click on the link
    clickOn(window->component(QStringLiteral("Panel1")), Qt::LeftButton);

    EXPECT_EQ(opened, QList<QUrl>({QUrl(QStringLiteral("http://www.example.com/zenu")),
                                   QUrl(QStringLiteral("mailto:zenu@example.com"))}));
}

TEST_F(DefinitionTest, ShellThatCannotOpenAnAddressIsNotReported)
{
    openerSucceeds = false;
    clickOn(window->component(QStringLiteral("ZENU_Linl_label")), Qt::LeftButton);
    EXPECT_EQ(opened.size(), 1);
    EXPECT_TRUE(messages.isEmpty());
}

} // namespace
