#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>

class EngineModel;
class SettingsBlock;

// The controller's reaction to one well-formed command: what it changes in
// its block or in the engine, and the plain answer it sends back.
//
// Answer codes: the startup command (66 01) is answered with a settings
// block carrying 0x0C, a poll with a live frame carrying 0x55, and every
// other command with its own code echoed (a settings block for read-all 66
// and factory reset 26, a live frame otherwise).
class CommandHandler
{
public:
    static constexpr uint8_t StartupAnswerCode = 0x0C;

    CommandHandler(SettingsBlock &block, EngineModel &engine);

    struct Result
    {
        QByteArray answer; // plain bytes; empty for a code the controller ignores
        bool settingsAnswer = false;
        bool blockChanged = false;
    };
    Result handle(const QByteArray &body);

    bool levelEditing() const { return m_levelEditing; }

private:
    void apply(const QByteArray &body);

    SettingsBlock &m_block;
    EngineModel &m_engine;
    bool m_levelEditing = false;
};
