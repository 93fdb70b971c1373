#pragma once

#include "enforcement/DockCommandRunning.h"

namespace vesk {

// Runs the tool as a child process of this machine (QProcess) with the
// inherited environment, working folder and standard input, draining both
// output pipes while it runs. Output that is not UTF-8 reads as empty text.
class ProcessDockCommandRunner final : public DockCommandRunning {
public:
    DockCommandResult run(const QString& executablePath, const QStringList& arguments) override;
};

} // namespace vesk
