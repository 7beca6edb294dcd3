#include "BankCommands.h"

#include <iostream>

#include "Commands.h"
#include "JsonOutput.h"
#include "WordFile.h"
#include "text/Text.h"
#include "wordbank/DeviceIdentifier.h"
#include "wordbank/WordModel.h"

namespace quillet::cli {

namespace {

// The bank text of FILE and its canonical form, or nothing after printing why.
struct BankFile {
    std::string text;
    std::string canonical;
};

std::optional<BankFile> readBankFile(const std::string& path) {
    const auto read = readBankText(path);
    if (!read) {
        std::cerr << "quillet-cli: " << read.error().message << "\n";
        return std::nullopt;
    }
    auto result = WordModel::normalize(*read);
    if (!result) {
        std::cerr << "quillet-cli: " << path
                  << " is not a word bank text: it may hold only ASCII letters, \",\" and "
                     "spaces, and must not be empty\n";
        return std::nullopt;
    }
    return BankFile{*read, std::move(result).value()};
}

std::string ownerOf(const WordModel& bank) {
    // Another owner's identifier is their credential on the service, so it is never shown.
    return bank.uuid == deviceIdentifier() ? "this device" : "another device";
}

// How many words a bank text gives before its short and repeated ones are left out.
std::size_t wordsGiven(std::string text) {
    text::replaceAll(text, " ", "");
    text::replaceAll(text, "，", ",");
    return WordModel::displayedWordCount(text);
}

void printBank(const WordModel& bank) {
    std::cout << "token: " << bank.id << "\n"
              << "remark: " << bank.title << "\n"
              << "words: " << WordModel::displayedWordCount(bank.text) << "\n"
              << "owner: " << ownerOf(bank) << "\n";
}

// Stores the bank as the default bank and shows it, as the word bank screen does.
int saveAsDefault(WordModel& bank) {
    if (!bank.save()) {
        std::cerr << "quillet-cli: the word bank could not be stored; see the log\n";
        return couldNotStart;
    }
    std::cout << "saved as the default word bank\n";
    printBank(bank);
    return done;
}

} // namespace

int runBankShow(const Arguments& args) {
    const auto bank = WordModel::loadLocal();
    if (args.json) {
        printJson({{"command", "bank show"},
                   {"exitStatus", done},
                   {"status", "done"},
                   {"token", bank.id},
                   {"remark", bank.title},
                   {"words", WordModel::displayedWordCount(bank.text)},
                   {"owner", ownerOf(bank)}});
    } else {
        printBank(bank);
    }
    return done;
}

int runBankVerify(const Arguments& args) {
    const auto file = readBankFile(args.bankFile);
    if (!file) {
        return couldNotStart;
    }
    const auto words = WordModel::displayedWordCount(file->canonical);
    std::cout << "words: " << words << "\n";
    // Normalizing drops short and repeated words without a word of warning.
    const auto given = wordsGiven(file->text);
    if (given > words) {
        std::cout << "left out (7 letters or fewer, or repeated): " << given - words << "\n";
    }
    return done;
}

int runBankSet(const Arguments& args) {
    const auto file = readBankFile(args.bankFile);
    if (!file) {
        return couldNotStart;
    }
    auto bank = WordModel::loadLocal();
    bank.text = file->canonical;
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
