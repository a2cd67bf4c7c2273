#include "sim/CommandHandler.h"

#include "sim/CommandCatalogue.h"
#include "sim/EngineModel.h"
#include "sim/LiveFrameWriter.h"
#include "sim/SettingsBlock.h"

#include <algorithm>

CommandHandler::CommandHandler(SettingsBlock &block, EngineModel &engine) : m_block(block), m_engine(engine)
{
}

CommandHandler::Result CommandHandler::handle(const QByteArray &body)
{
    Result r;
    if (body.isEmpty() || CommandCatalogue::lengthKind(uint8_t(body[0])) == CommandCatalogue::Length::Unknown)
        return r;
    const uint8_t code = uint8_t(body[0]);
    const QByteArray before = m_block.bytes();
    apply(body);
    r.blockChanged = m_block.bytes() != before;

    if (code == 0x66 || code == 0x26) {
        const bool startup = code == 0x66 && body.size() > 1 && uint8_t(body[1]) == 0x01;
        r.answer = m_block.answer(startup ? StartupAnswerCode : code);
        r.settingsAnswer = true;
    } else {
        r.answer = LiveFrameWriter::encode(m_engine.sample(m_block), code);
    }
    return r;
}

void CommandHandler::apply(const QByteArray &body)
{
    using B = SettingsBlock;
    const uint8_t code = uint8_t(body[0]);
    auto p = [&](int i) -> uint8_t { return i < body.size() ? uint8_t(body[i]) : 0; };
    auto copy = [&](int offset, int maxCount) {
        const int n = std::min<int>(maxCount, int(body.size()) - 1);
        for (int i = 0; i < n; ++i)
            m_block.set(offset + i, p(1 + i));
    };

    switch (code) {
    case 0x26: {
        const SettingsBlock fresh = SettingsBlock::factory(m_block.at(B::FirmwareMajor), m_block.at(B::FirmwareMinor),
                                                           m_block.at(B::FirmwarePatch));
        m_block = fresh;
        m_engine.fuelRequested(true);
        break;
    }
    case 0x10: m_block.clearFaultLog(); break;
    case 0x1B:
        m_block.set(B::CylinderCode, p(1));
        if (p(1) <= 3 || p(1) == 5)
            m_block.set(B::ActiveInjectors, SettingsBlock::allActiveMask(m_block.cylinderCount()));
        break;
    case 0x0A: m_block.set(B::ImpulseSource, p(1)); break;
    case 0x17: m_block.setBit(B::Flags34, 1, p(1) & 1); break;
    case 0x21: m_block.setBit(B::Flags34, 3, p(1) & 1); break;
    case 0x2D: m_block.setBit(B::Flags34, 7, p(1) & 1); break;
    case 0x2E: m_block.setBit(B::Flags558, 0, p(1) & 1); break;
    case 0x2B: m_block.set(B::WorkingPressure, p(1)); break;
    case 0x1E: m_block.set(B::MinPressure, p(1)); break;
    case 0x1F: m_block.set(B::PressureFaultTime, p(1)); break;
    case 0x11: m_block.set(B::RpmMaxPetrol, p(1)); break;
    case 0x0F: m_block.set(B::TempToGas, p(1)); break;
    case 0x09: m_block.set(B::RpmToGas, p(1)); break;
    case 0x22: m_block.set(B::SwitchOverTime, p(1)); break;
    case 0x23: m_block.set(B::CylinderSequence, p(1)); break;
    case 0x0E: m_block.set(B::InjectorType, p(1)); break;
    case 0x24: m_block.set(B::InjectorOpening, p(1)); break;
    case 0x30: m_block.set(B::InjectorPulse, p(1)); break;
    case 0x03:
        if (p(1) == 0x02 || p(1) == 0x03) {
            m_block.set(B::FuelRequest, p(1));
            m_block.set(B::ActiveInjectors, p(2));
            m_engine.fuelRequested(p(1) == 0x03);
        }
        break;
    case 0x25: m_engine.setCalibrating(true); break;
    case 0x05: m_engine.setCalibrating(false); break;
    case 0x0D: copy(B::LevelThreshold1, 5); break;
    case 0x31: m_levelEditing = p(1) == 0x01; break;
    case 0x19: copy(B::Report, 3); break;
    case 0x02: copy(B::Reference, 5); break;
    case 0x20: copy(B::MapBlock, 20); break;
    case 0x0B:
        copy(B::CorrectionMap, B::MapPoints);
        // A calibration ends with its map: from now on the car runs on it.
        m_engine.setCalibrating(false);
        break;
    case 0x06: copy(B::LearnedArea, B::MapPoints); break;
    case 0x2A:
        if (p(1) == 0x01 || p(1) == 0x02)
            m_block.set(B::CurveSelector, p(1));
        break;
    case 0x1A: copy(B::WriteAllFirst, B::WriteAllSize); break;
    default: break; // 66 and 55 change nothing
    }
}
