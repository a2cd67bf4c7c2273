#pragma once

// Rows of LanguageTable that code reads by role. The control captions
// (rows 21-119) are addressed through TextTarget instead.
namespace TextRow {

// Fault texts; each starts with " - " in most languages so a numbered list
// line reads "1 - ...".
inline constexpr int VoltageError = 0;
inline constexpr int GasPressureTooHigh = 1;
inline constexpr int GasPressureTooLow = 2;
inline constexpr int IgnitionVoltageTooLow = 3;
inline constexpr int PetrolInjectionSignalError = 4;
inline constexpr int PetrolControllerError = 5;
inline constexpr int InjectorError = 6; // followed by the cylinder numbers
inline constexpr int IncorrectSettings = 7;
inline constexpr int SupplyVoltageError = 8;
inline constexpr int GasInjectionTimeTooLong = 9;

// Link and session.
inline constexpr int FactoryResetQuestion = 10;
inline constexpr int NoController = 11;
inline constexpr int ChooseComPort = 12; // kept in the table, never shown

// Calibration.
inline constexpr int StartEngine = 13;
inline constexpr int MapOutOfRangeContinue = 14;
inline constexpr int P1OutOfRangeContinue = 15;
inline constexpr int TemperatureTooLow = 16;
inline constexpr int CalibrationInProgress = 17;
inline constexpr int CorrectionResult = 18; // followed by the multiplier
inline constexpr int CalibrationFinished = 19;
inline constexpr int CalibrationCancelled = 20;

inline constexpr int FirstControlText = 21;
inline constexpr int LastControlText = 119;

inline constexpr int HelpText = 120;
inline constexpr int WebAddress = 121;
inline constexpr int MailLink = 122; // a complete "mailto:" target

} // namespace TextRow
