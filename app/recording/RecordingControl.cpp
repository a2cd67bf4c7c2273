#include "app/recording/RecordingControl.h"

#include "app/common/HandlerGuard.h"
#include "app/recording/RecordingUi.h"
#include "app/recording/SessionRecorder.h"
#include "app/common/StatusNotice.h"
#include "app/common/UserMessage.h"

#include "record/CsvExport.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

RecordingControl::RecordingControl(QWidget *window, QMenu *fileMenu, QWidget *portGroup, SessionRecorder &recorder,
                                   Link link, Texts texts)
    : QObject(window), m_window(window), m_recorder(recorder), m_link(std::move(link)), m_texts(std::move(texts)),
      m_folder(SessionRecorder::defaultFolder())
{
    m_recordItem = RecordingUi::addBeforeFirstSeparator(fileMenu, window, QStringLiteral("Nagrywanie1"));
    m_exportItem = RecordingUi::addBeforeFirstSeparator(fileMenu, window, QStringLiteral("EksportCSV1"));
    connect(m_recordItem, &QAction::triggered, this, [this] { recordClicked(); });
    connect(m_exportItem, &QAction::triggered, this, [this] { exportClicked(); });

    m_button = new QToolButton(portGroup);
    m_button->setObjectName(QStringLiteral("Nagrywanie_button"));
    m_button->setMinimumSize(150, 24);
    m_button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    if (QLayout *l = portGroup->layout())
        l->addWidget(m_button);
    connect(m_button, &QToolButton::clicked, this, [this] { recordClicked(); });

    m_recorder.setChangedHook([this] { refresh(); });
    // The failure is found inside the link's answer handling; the box opens
    // once that handler is done, so the link never waits on it.
    m_recorder.setFailureHandler([this](const QString &path, const QString &reason) {
        const QString message = text("recording.write_failed").arg(QDir::toNativeSeparators(path), reason);
        QTimer::singleShot(0, this, [this, message] { UserMessage::show(m_window, message); });
    });
    refresh();
}

QString RecordingControl::text(const char *key) const
{
    const QString k = QString::fromLatin1(key);
    return m_texts ? m_texts(k) : k;
}

void RecordingControl::note(const QString &text)
{
    StatusNotice::show(m_window, text);
}

void RecordingControl::recordClicked()
{
    HandlerGuard::run(m_window, [this] {
        if (m_recorder.recording()) {
            m_recorder.stop();
            note(text("recording.saved").arg(QDir::toNativeSeparators(m_recorder.path())));
            return;
        }
        start();
    });
}

void RecordingControl::start()
{
    if (!m_link.connected || !m_link.connected()) {
        note(text("recording.not_connected"));
        refresh();
        return;
    }
    if (!QDir().mkpath(m_folder)) {
        UserMessage::show(m_window, text("recording.folder_failed").arg(QDir::toNativeSeparators(m_folder)));
        return;
    }
    const QString path = QDir(m_folder).filePath(SessionRecorder::fileNameFor(QDateTime::currentDateTime()));
    const QByteArray settings = m_link.storedSettings ? m_link.storedSettings() : QByteArray();
    if (!m_recorder.start(path, m_link.portName ? m_link.portName() : QString(), settings)) {
        UserMessage::show(m_window, text("recording.start_failed").arg(m_recorder.lastError()));
        return;
    }
    note(text("recording.started").arg(QDir::toNativeSeparators(path)));
}

void RecordingControl::refresh()
{
    const bool on = m_recorder.recording();
    const bool connected = m_link.connected && m_link.connected();
    m_recordItem->setText(text(on ? "recording.menu_stop" : "recording.menu_start"));
    m_recordItem->setEnabled(on || connected);
    m_exportItem->setText(text("recording.menu_export"));
    m_button->setEnabled(on || connected);
    m_button->setToolTip(on ? QDir::toNativeSeparators(m_recorder.path()) : text("recording.button_tip"));
    m_shownSeconds = -1;
    if (on) {
        m_button->setStyleSheet(
            QStringLiteral("QToolButton { background: #c00000; color: white; font-weight: bold; }"));
        answerSeen();
    } else {
        m_button->setStyleSheet({});
        m_button->setText(text("recording.button_start"));
    }
}

void RecordingControl::answerSeen()
{
    if (!m_recorder.recording())
        return;
    // Four answers a second, but the caption changes once a second.
    const qint64 ms = m_recorder.elapsedMs();
    if (ms / 1000 == m_shownSeconds)
        return;
    m_shownSeconds = ms / 1000;
    m_button->setText(text("recording.button_stop").arg(RecordingUi::minutesSeconds(ms)));
}

QString RecordingControl::chooseFile(Dialog which)
{
    if (m_choose)
        return m_choose(which);
    if (which == Dialog::ExportSource)
        return QFileDialog::getOpenFileName(m_window, text("recording.export_title"), m_folder,
                                            text("replay.file_filter"));
    if (which == Dialog::ExportStyle) {
        // For a person's spreadsheet (semicolons, decimal commas, faults in
        // words) or for a program (today's commas and decimal points).
        QMessageBox box(QMessageBox::Question, text("recording.export_title"), text("recording.csv_style_question"),
                        QMessageBox::Cancel, m_window);
        box.setObjectName(QStringLiteral("CsvStyleBox"));
        QPushButton *sheet = box.addButton(text("recording.csv_style_sheet"), QMessageBox::AcceptRole);
        QPushButton *plain = box.addButton(text("recording.csv_style_plain"), QMessageBox::AcceptRole);
        sheet->setObjectName(QStringLiteral("CsvStyleSheet"));
        plain->setObjectName(QStringLiteral("CsvStylePlain"));
        box.setDefaultButton(sheet);
        box.exec();
        if (box.clickedButton() == sheet)
            return QStringLiteral("sheet");
        if (box.clickedButton() == plain)
            return QStringLiteral("plain");
        return {};
    }
    return QFileDialog::getSaveFileName(m_window, text("recording.export_title"), QString(),
                                        text("recording.csv_filter"));
}

void RecordingControl::exportClicked()
{
    HandlerGuard::run(m_window, [this] {
        const QString source = chooseFile(Dialog::ExportSource);
        if (source.isEmpty())
            return;
        QString target = chooseFile(Dialog::ExportTarget);
        if (target.isEmpty())
            return;
        if (QFileInfo(target).suffix().isEmpty())
            target += QStringLiteral(".csv");
        const std::optional<CsvExport::Style> style = CsvExport::styleNamed(chooseFile(Dialog::ExportStyle));
        if (!style)
            return;
        const CsvExport::Outcome outcome = CsvExport::exportRecording(source, target, *style);
        if (!outcome.ok) {
            UserMessage::show(m_window, outcome.error);
            return;
        }
        note(text("record.exported").arg(QString::number(outcome.rows), QDir::toNativeSeparators(target)));
    });
}
