#pragma once

#include <QString>

namespace velarix {

struct JtagEnvironment;

// " Método de borrado " of the page: "Por bloques", "Con un solo comando".
enum class EraseMethod { ByBlocks, OneCommand };

enum class EraseOutcome { Cancelled, NoPort, Refused, Failed, Done };

struct EraseResult {
    EraseOutcome outcome = EraseOutcome::Cancelled;
    int chip = 0;          // the chip erased, 1 or 2
    int blocksFailed = 0;  // "Por bloques": the blocks that would not erase
    QString backup;        // the backup of the chip, when it was erased
};

// The warning box "Borrar Chip" asks first: OK erases, anything else ends.
QString EraseWarningText();

// "Borrar Chip": once the person said OK to the warning, erases the chip
// that starts at the address in the page's box, block by block through the
// chip's block table or with the trap routine's one command. An address that
// is neither chip's start erases nothing. Before the erase the cable is
// checked and the whole chip is saved to a backup file in the settings
// folder; if either fails, nothing is erased.
EraseResult EraseFromPage(JtagEnvironment& environment, const QString& addressText,
                          EraseMethod method);

}  // namespace velarix
