#pragma once

#include <optional>
#include <string>

namespace quillet {

class DefaultsStore;
class RandomSource;

// Who owns a word bank: 32 uppercase hexadecimal digits, the same on every launch for this user.
// A secret of 128 random bits, made on first use and kept in the settings store, which only its
// owner can read.
std::string deviceIdentifier();

// The rule behind deviceIdentifier(): the identifier kept in `store`; else, where the store shows
// an earlier version ran (which derived the identifier from `machineId` through a keyed hash), that
// derived one; else a random one. Whatever is chosen is kept in `store`.
std::string deviceIdentifierFrom(const std::optional<std::string>& machineId, DefaultsStore& store,
                                 RandomSource& random);

// The operating system's machine identifier, if it has one.
std::optional<std::string> systemMachineIdentifier();

} // namespace quillet
