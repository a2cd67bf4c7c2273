// A settings file on the window with no controller, and two settings blocks
// compared in a dialog: on the real window, without a link.
#include "tests/app/WindowFixture.h"
#include "tests/settings/SettingsBlockBytes.h"

#include "app/calibration/MapPage.h"
#include "app/common/StatusNotice.h"
#include "app/settings/SettingsCompareDialog.h"
#include "app/settings/SettingsFileMenu.h"
#include "app/settings/SettingsPanel.h"

#include "i18n/LanguageTable.h"
#include "settings/DataFile.h"
#include "settings/SettingTexts.h"
#include "settings/SettingsDecoder.h"

#include "widgets/TAnalogCControl.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Bytes = std::vector<std::pair<int, uint8_t>>;

// A car's block: 6 cylinders, turbo, Keihin injectors, a map with a step.
Bytes carBytes()
{
    Bytes b = {{20, 0x3F}, {21, 1},   {22, 3},  {23, 18},  {24, 60},  {25, 36}, {26, 76}, {27, 112},
               {28, 143},  {29, 2},   {30, 1},  {31, 1},   {33, 4},   {34, 0x08}, {35, 42}, {36, 125},
               {40, 70},   {41, 40},  {42, 12}, {43, 15},  {45, 7},   {558, 1}};
    for (int k = 0; k < 246; ++k)
        b.push_back({66 + k, uint8_t(k < 100 ? 110 : 104)});
    return b;
}

class SettingsFileWindow : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        // The window shows numbers with the system's separator; a Polish one here.
        QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
        ASSERT_TRUE(dir.isValid());
        start({});
        menu().setFileChooser([this](const QString &) { return chosen; });
        menu().setDialogRunner([this](SettingsCompareDialog &d) { inspect(d); });
    }

    void TearDown() override
    {
        WindowFixture::TearDown();
        QLocale::setDefault(QLocale::c());
    }

    SettingsFileMenu &menu() { return window->settingsFile(); }

    QString zen(const char *name, const Bytes &changes = {})
    {
        Bytes all = carBytes();
        all.insert(all.end(), changes.begin(), changes.end());
        QByteArray block = settingsBlock(all);
        block[601] = char(0x77);
        blocks[QString::fromLatin1(name)] = block;
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(DataFile::encode(block, 21));
        return path;
    }

    template <class T = QWidget>
    T *w(const char *name) const
    {
        return window->component<T>(QString::fromLatin1(name));
    }

    // What the dialog shows, read while it is open.
    void inspect(SettingsCompareDialog &d)
    {
        ++dialogs;
        rows.clear();
        for (int r = 0; r < d.differences()->rowCount(); ++r)
            rows << d.differences()->item(r, 0)->text() + QLatin1Char('|') + d.differences()->item(r, 1)->text()
                        + QLatin1Char('|') + d.differences()->item(r, 2)->text();
        header = {d.differences()->horizontalHeaderItem(1)->text(), d.differences()->horizontalHeaderItem(2)->text()};
        identical = !d.identicalNote()->isHidden();
        tableShown = !d.differences()->isHidden();
        loadOffered = !d.loadButton()->isHidden();
        chartName = d.mapChart()->accessibleName();
        closeIsDefault = d.closeButton()->isDefault();
    }

    QTemporaryDir dir;
    QString chosen;
    std::map<QString, QByteArray> blocks;
    int dialogs = 0;
    QStringList rows;
    QStringList header;
    bool identical = false;
    bool tableShown = false;
    bool loadOffered = true;
    bool closeIsDefault = false;
    QString chartName;
};

TEST_F(SettingsFileWindow, ViewFillsTheControlsAsAControllersBlockWouldAndNamesTheFile)
{
    const QString title = window->windowTitle();
    const QString status = window->statusPanelText();
    ASSERT_TRUE(menu().viewItem()->isEnabled());
    EXPECT_FALSE(menu().compareItem()->isEnabled());

    chosen = zen("golf.zen");
    menu().viewItem()->trigger();

    // The same ApplySettingsFrame: the record it kept is the block's.
    const std::optional<SettingsRecord> expected = SettingsDecoder::decode(blocks["golf.zen"]);
    ASSERT_TRUE(window->settingsPanel().lastRecord().has_value());
    EXPECT_EQ(window->settingsPanel().lastRecord()->values, expected->values);
    EXPECT_EQ(w<QComboBox>("Sel_cyl")->currentIndex(), 3);
    EXPECT_EQ(w<QComboBox>("Sel_Typ_wtrysku")->currentText(), QStringLiteral("Keihin"));
    EXPECT_EQ(w<QComboBox>("Rodz_czuj_LPG")->currentIndex(), 1);
    EXPECT_FLOAT_EQ(w<TAnalogCControl>("RPM_Prog_przel")->Value(), 1800.0f);
    EXPECT_FLOAT_EQ(w<TAnalogCControl>("P_pracy_changer")->Value(), 1.25f);
    EXPECT_EQ(w<QLineEdit>("Ch_U_LPG_1")->text(), QStringLiteral("0,71"));
    EXPECT_EQ(window->mapPage().correctionMap().value(1), 110);
    EXPECT_EQ(window->mapPage().correctionMap().value(246), 104);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();

    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("golf.zen"))) << window->windowTitle().toStdString();
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("bez sterownika")));
    EXPECT_TRUE(window->statusPanelText().contains(QStringLiteral("golf.zen")));
    EXPECT_TRUE(window->statusPanelText().contains(QStringLiteral("brak połączenia ze sterownikiem")));
    EXPECT_TRUE(menu().compareItem()->isEnabled());

    // In English the names follow.
    item(QStringLiteral("AngielskiGB"))->trigger();
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("no controller"))) << window->windowTitle().toStdString();
    EXPECT_EQ(menu().viewItem()->text(), QStringLiteral("View settings file…"));
    EXPECT_EQ(menu().compareItem()->text(), QStringLiteral("Compare with file…"));

    menu().view().end();
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_EQ(window->statusPanelText(), status);
}

TEST_F(SettingsFileWindow, ControlsRefuseEditsWithANote)
{
    ASSERT_TRUE(window->viewSettingsFile(zen("golf.zen")));
    auto *pulses = w<QComboBox>("Sel_Impuls");
    pulses->setCurrentIndex(4);
    emit pulses->activated(4);
    EXPECT_EQ(pulses->currentIndex(), 1); // back to the file's value
    EXPECT_EQ(StatusNotice::current(window.get()), QStringLiteral("Nie zmieniono: pokazany jest plik ustawień, nie sterownik"));
}

struct NotSettings
{
    const char *name;
    QByteArray bytes;
};

class SettingsFileRefused : public SettingsFileWindow, public ::testing::WithParamInterface<NotSettings>
{
};

TEST_P(SettingsFileRefused, DataFileErrorAndTheWindowAsItWas)
{
    ASSERT_TRUE(window->viewSettingsFile(zen("golf.zen")));
    const QString title = window->windowTitle();
    const QString path = dir.filePath(QStringLiteral("other.zen"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(GetParam().bytes);
    f.close();

    EXPECT_FALSE(window->viewSettingsFile(path));
    EXPECT_EQ(messages, QStringList{QStringLiteral("Data file error")});
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_EQ(w<QComboBox>("Sel_cyl")->currentIndex(), 3);
    EXPECT_EQ(menu().view().path(), dir.filePath(QStringLiteral("golf.zen")));
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsFileRefused,
                         ::testing::Values(NotSettings{"Text", QByteArray("just some notes\n")},
                                           NotSettings{"Empty", QByteArray()},
                                           NotSettings{"HeaderOnly", QByteArray("ZENU DATA FILE v3.07.07\x1f\x3b")}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(SettingsFileWindow, CompareWhileViewingListsExactlyTheDifferences)
{
    ASSERT_TRUE(window->viewSettingsFile(zen("before.zen")));
    chosen = zen("after.zen", {{23, 25}, {45, 1}, {150, 99}}); // map point 85: 1,10 -> 0,99
    menu().compareItem()->trigger();
    ASSERT_EQ(dialogs, 1);
    EXPECT_EQ(header, (QStringList{QStringLiteral("before.zen"), QStringLiteral("after.zen")}));
    EXPECT_EQ(rows, (QStringList{QStringLiteral("Wtryskiwacz gazowy|Keihin|Matrix"),
                                 QStringLiteral("Parametry przełączania na gaz: Obroty przełączenia|1800 rpm|2500 rpm"),
                                 QStringLiteral("Mapa|1 punkt różni się|największa różnica 0,11")}));
    EXPECT_TRUE(tableShown);
    EXPECT_FALSE(identical);
    EXPECT_FALSE(loadOffered); // no controller to load into
    EXPECT_TRUE(closeIsDefault);
    EXPECT_EQ(chartName, QStringLiteral("Mapa korekcji: before.zen i after.zen"));
    // Nothing on the window changed.
    EXPECT_EQ(menu().view().path(), dir.filePath(QStringLiteral("before.zen")));
}

TEST_F(SettingsFileWindow, IdenticalFilesSaySo)
{
    ASSERT_TRUE(window->viewSettingsFile(zen("a.zen")));
    chosen = zen("b.zen", {{561, 2}}); // a fault more is no setting
    menu().compareClick();
    ASSERT_EQ(dialogs, 1);
    EXPECT_TRUE(rows.isEmpty());
    EXPECT_TRUE(identical);
    EXPECT_FALSE(tableShown);
}

TEST_F(SettingsFileWindow, CompareWithANonSettingsFileShowsTheError)
{
    ASSERT_TRUE(window->viewSettingsFile(zen("a.zen")));
    chosen = dir.filePath(QStringLiteral("notes.zen"));
    QFile f(chosen);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("notes");
    f.close();
    menu().compareClick();
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Data file error")});
}

// The dialog by keyboard: Tab reaches the list, then "Zamknij"; Esc closes.
TEST(SettingsCompareDialogKeys, ReachableByKeyboardAndNamed)
{
    const LanguageTable table = LanguageTable::builtIn();
    const SettingTexts texts(table, LanguageTable::Polish, QLatin1Char(','));
    const QByteArray a = settingsBlock(carBytes());
    Bytes changed = carBytes();
    changed.push_back({35, 50});
    SettingsCompareDialog dialog({QStringLiteral("Sterownik"), a}, {QStringLiteral("b.zen"), settingsBlock(changed)}, texts,
                                 true);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    EXPECT_EQ(dialog.differences()->rowCount(), 1);
    EXPECT_EQ(dialog.differences()->accessibleName(), QStringLiteral("Różniące się ustawienia"));
    EXPECT_EQ(dialog.loadButton()->text(), QStringLiteral("Wczytaj plik do sterownika"));
    EXPECT_EQ(dialog.closeButton()->text(), QStringLiteral("Zamknij"));
    for (QWidget *part : {static_cast<QWidget *>(dialog.differences()), static_cast<QWidget *>(dialog.loadButton()),
                          static_cast<QWidget *>(dialog.closeButton())})
        EXPECT_NE(part->focusPolicy() & Qt::TabFocus, 0) << part->objectName().toStdString();
    dialog.differences()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dialog.loadButton());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dialog.closeButton());
    bool loaded = false;
    dialog.setOnLoad([&] { loaded = true; });
    QTest::mouseClick(dialog.loadButton(), Qt::LeftButton);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

} // namespace
