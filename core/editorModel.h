// What the editor sees of the plug-in and does to it, whatever format hosts
// it: the parameters with their change counts, the bank (when the host lets
// the editor reach it), the meter reading, and the format's host port for
// the user's edits. The editor learns of changes made elsewhere by comparing
// change counts at its idle; nothing ever calls into the editor.
//
// Every call on the editor's thread (the host's GUI thread).
#pragma once

#include <atomic>
#include <cstdint>

#include "hostPort.h"
#include "parameters.h"
#include "programs/ProgramBank.h"

class EditorModel {
public:
    // The bank may be null (a host that keeps it out of the editor's reach),
    // so may the port (no host to tell) and the meter (the needle rests).
    EditorModel(Parameters& parameters, ProgramBank* bank, HostPort* port,
                const std::atomic<double>* meter)
        : parameters(parameters), programBank(bank), port(port), meter(meter) {}

    float getParameter(int index) const { return parameters.get(index); }
    // Grows by one with every change of the parameter, whoever made it.
    std::uint32_t parameterChanges(int index) const { return parameters.read(index).changes; }

    // The user's edit: the value set, then reported to the host as automation.
    void setParameterAutomated(int index, float value) {
        parameters.set(index, value);
        if (port) port->automate(index, value);
    }
    // The user's gesture on one of the twelve parameters begins or ends.
    void beginEdit(int index) {
        if (port && Parameters::isIndex(index)) port->beginEdit(index);
    }
    void endEdit(int index) {
        if (port && Parameters::isIndex(index)) port->endEdit(index);
    }
    // A control tracking a drag asks the host for an idle pass.
    void hostIdle() {
        if (port) port->idle();
    }

    // 1.0 means no gain reduction.
    double getMeterReading() const { return meter ? meter->load(std::memory_order_relaxed) : 1.0; }

    ProgramBank* bank() const { return programBank; }
    HostPort* hostPort() const { return port; }

private:
    Parameters& parameters;
    ProgramBank* programBank;
    HostPort* port;
    const std::atomic<double>* meter;
};
