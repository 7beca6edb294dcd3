#include "BankCommands.h"

#include <iostream>

#include "Commands.h"
#include "WordFile.h"
#include "wordbank/DeviceIdentifier.h"
#include "wordbank/WordModel.h"

namespace quillet::cli {

namespace {

// The canonical text of FILE, or nothing after printing why.
std::optional<std::string> normalizedBankFile(const std::string& path) {
    const auto read = readBankText(path);
    if (!read) {
        std::cerr << "quillet-cli: " << read.error().message << "\n";
        return std::nullopt;
    }
    auto result = WordModel::normalize(*read);
    if (!result) {
        std::cerr << result.error().title << ": " << result.error().message << "\n";
        return std::nullopt;
    }
    return std::move(result).value();
}

// Stores the bank as the default bank and names it, as the word bank screen does.
int saveAsDefault(WordModel& bank) {
    if (!bank.save()) {
        std::cerr << "quillet-cli: the word bank could not be stored; see the log\n";
        return couldNotStart;
    }
    std::cout << "默认词库: " << bank.title << ", " << bank.id << "\n";
    return done;
}

} // namespace

int runBankShow() {
    const auto bank = WordModel::loadLocal();
    // Another owner's identifier is their credential on the service, so it is never printed.
    const char* owner = bank.uuid == deviceIdentifier() ? "this device" : "another device";
    std::cout << "token: " << bank.id << "\n"
              << "remark: " << bank.title << "\n"
              << "words: " << WordModel::displayedWordCount(bank.text) << "\n"
              << "owner: " << owner << "\n";
    return done;
}

int runBankVerify(const Arguments& args) {
    const auto canonical = normalizedBankFile(args.bankFile);
    if (!canonical) {
        return couldNotStart;
    }
    std::cout << "符合规则的词库:" << WordModel::displayedWordCount(*canonical) << "\n";
    return done;
}

int runBankSet(const Arguments& args) {
    const auto canonical = normalizedBankFile(args.bankFile);
    if (!canonical) {
        return couldNotStart;
    }
    auto bank = WordModel::loadLocal();
    bank.text = *canonical;
    if (args.remark) {
        bank.title = *args.remark;
    }
    return saveAsDefault(bank);
}

int runBankNew(const Arguments& args) {
    const auto current = WordModel::loadLocal();
    if (!current.text.empty() && !args.force) {
        std::cerr << "quillet-cli: the default word bank (" << current.id << ") holds "
                  << WordModel::displayedWordCount(current.text)
                  << " words; bank new --force replaces it\n";
        return couldNotStart;
    }
    auto bank = WordModel::makeNew(deviceIdentifier());
    bank.title = args.remark.value_or("");
    return saveAsDefault(bank);
}

} // namespace quillet::cli
