#pragma once

#include <optional>
#include <string>

namespace quillet {

class DefaultsStore;
class RandomSource;

// Who owns a word bank: 32 uppercase hexadecimal digits, the same on every launch on this machine.
// Derived from the system's machine identifier through a keyed hash, so that identifier itself
// never leaves the machine.
std::string deviceIdentifier();

// The rule behind deviceIdentifier(): from `machineId` when there is one, else a random identifier
// made once and kept in `store`.
std::string deviceIdentifierFrom(const std::optional<std::string>& machineId, DefaultsStore& store,
                                 RandomSource& random);

// The operating system's machine identifier, if it has one.
std::optional<std::string> systemMachineIdentifier();

} // namespace quillet
