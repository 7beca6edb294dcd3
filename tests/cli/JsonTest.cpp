// --json: one document on standard output, which a script reads instead of the text.
#include <filesystem>
#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "CliFixture.h"
#include "defaults/DefaultsStore.h"
#include "text/Text.h"
#include "wordbank/WordModel.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const std::string words = QUILLET_EXAMPLES_DIR "/words.txt";

class CliJson : public CliFixture {
protected:
    // The document the command printed, checked to be the only output and to give the exit
    // status the process ended with.
    json document(const std::string& arguments) {
        const auto result = run(arguments);
        EXPECT_EQ(result.err, "") << arguments;
        json parsed = json::parse(result.out, nullptr, false);
        EXPECT_FALSE(parsed.is_discarded()) << arguments << "\n" << result.out;
        if (parsed.is_discarded()) {
            return json::object();
        }
        EXPECT_EQ(parsed.value("exitStatus", -1), result.exitCode) << arguments;
        return parsed;
    }
};

// Old selector -> new one, as the name list holds them.
std::map<std::string, std::string> nameList(const std::string& text) {
    std::map<std::string, std::string> pairs;
    const auto lines = text::split(text, '\n');
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].starts_with("Old --> ") && lines[i + 1].starts_with("New --> ")) {
            pairs[lines[i].substr(8)] = lines[i + 1].substr(8);
        }
    }
    return pairs;
}

TEST_F(CliJson, MethodsListsEachCandidateWithWhyItKeepsItsName) {
    scratch_.write("SDK/Cart.h", "@interface Cart\n- (void)removeProduct:(id)p;\n@end\n");
    const auto methods =
        document("methods " + project() + " --sdk " + scratch_.str() + "/SDK --json");
    EXPECT_EQ(methods["command"], "methods");
    EXPECT_EQ(methods["project"], project());
    EXPECT_EQ(methods["mode"], "precise");
    EXPECT_EQ(methods["status"], "done");
    EXPECT_TRUE(methods["refusal"].is_null());
    const auto& candidates = methods["methods"];
    ASSERT_TRUE(candidates.is_array());
    EXPECT_EQ(methods["counts"]["methods"], candidates.size());
    std::size_t kept = 0;
    for (const auto& candidate : candidates) {
        kept += candidate["protection"].is_null() ? 0 : 1;
        if (candidate["selector"] == "removeProduct:") {
            EXPECT_EQ(candidate["header"], "Cart.h");
            EXPECT_EQ(candidate["protection"], "declared by the SDK");
        }
    }
    EXPECT_EQ(methods["counts"]["protected"], kept);
    EXPECT_EQ(methods["counts"]["renamed"], candidates.size() - kept);
    ASSERT_EQ(methods["protected"].size(), kept);
    const json sdkProtected = {
        {"selector", "removeProduct:"}, {"header", "Cart.h"}, {"reason", "declared by the SDK"}};
    EXPECT_NE(std::find(methods["protected"].begin(), methods["protected"].end(), sdkProtected),
              methods["protected"].end())
        << methods["protected"].dump();
}

TEST_F(CliJson, ARenameGivesItsPairsBackupAndNameList) {
    const auto renamed = document("rename " + project() + " --words " + words + " --json");
    EXPECT_EQ(renamed["command"], "rename");
    EXPECT_EQ(renamed["status"], "done");
    EXPECT_EQ(renamed["exitStatus"], 0);
    EXPECT_EQ(renamed["dryRun"], false);
    EXPECT_EQ(renamed["nameList"], project() + "/MethodReplaceList.txt");
    EXPECT_EQ(renamed["log"], logPath());
    const std::string archive = renamed["backup"].value("path", "");
    EXPECT_TRUE(archive.starts_with(home_.str() + "/Quillet/Backup/DemoShop_")) << archive;
    EXPECT_TRUE(fs::is_regular_file(archive));

    std::map<std::string, std::string> pairs;
    for (const auto& pair : renamed["renamed"]) {
        pairs[pair["old"]] = pair["new"];
    }
    EXPECT_EQ(pairs, nameList(readFile(project() + "/MethodReplaceList.txt")));
    EXPECT_EQ(renamed["counts"]["renamed"], pairs.size());
    EXPECT_GT(renamed["counts"]["filesChanged"], 0);
    EXPECT_EQ(renamed["counts"]["filesFailed"], 0);

    // The restore of that backup says what it put back.
    const auto restored = document("restore " + archive + " --json");
    EXPECT_EQ(restored["command"], "restore");
    EXPECT_EQ(restored["status"], "done");
    EXPECT_EQ(restored["project"], project());
    EXPECT_GT(restored["restored"], 0);
    EXPECT_EQ(restored["added"], json::array({"MethodReplaceList.txt"}));
    EXPECT_EQ(restored["addedRemoved"], false);
    EXPECT_EQ(restored["failed"], json::array());

    const auto missing = document("restore " + scratch_.str() + "/none.zip --json");
    EXPECT_EQ(missing["exitStatus"], 1);
    EXPECT_EQ(missing["status"], "refused");
    EXPECT_EQ(missing["refusal"]["message"], "cannot open " + scratch_.str() +
                                                 "/none.zip: No such file or directory; nothing "
                                                 "was changed");
}

TEST_F(CliJson, ClassesAndPropertiesComeWithTheirKindAndAgreeWithTheNameTable) {
    const auto listed =
        document("methods " + project() + " --kinds methods,properties,classes --json");
    std::set<std::string> kinds;
    std::size_t toRename = 0;
    for (const auto& type : listed["types"]) {
        kinds.insert(type["kind"].get<std::string>());
        toRename += type["protection"].is_null() ? 1 : 0;
    }
    EXPECT_EQ(kinds, (std::set<std::string>{"class", "property"}));
    EXPECT_EQ(listed["counts"]["types"], listed["types"].size());
    EXPECT_EQ(listed["counts"]["typesRenamed"], toRename);

    const auto renamed = document(
        "rename " + project() + " --random --no-backup --kinds methods,properties,classes --json");
    ASSERT_EQ(renamed["status"], "done") << renamed.dump();
    std::string lines;
    for (const auto& type : renamed["typeRenames"]) {
        lines += type["kind"].get<std::string>() + "\t" + type["old"].get<std::string>() + "\t" +
                 type["new"].get<std::string>() + "\n";
    }
    EXPECT_EQ(renamed["typeRenames"].size(), toRename);
    EXPECT_EQ(renamed["counts"]["typesRenamed"], toRename);
    // Every renamed class and property is a line of the table (which lists the methods too).
    const std::string table = readFile(project() + "/QuilletNames.tsv");
    for (const auto& line : text::split(lines, '\n')) {
        EXPECT_NE(table.find(line), std::string::npos) << line;
    }
}

TEST_F(CliJson, ADryRunGivesThePlannedChangesAndWritesNothing) {
    const std::string before = treeDump(project_.path());
    const auto planned = document("rename " + project() + " --random --dry-run --json");
    EXPECT_EQ(treeDump(project_.path()), before);
    EXPECT_EQ(planned["dryRun"], true);
    EXPECT_EQ(planned["status"], "done");
    EXPECT_TRUE(planned["backup"].is_null());
    EXPECT_TRUE(planned["nameList"].is_null());
    const auto& changes = planned["changes"];
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(planned["counts"]["filesChanged"], changes.size());
    EXPECT_EQ(planned["renamed"].size(), planned["counts"]["renamed"]);
    for (const auto& change : changes) {
        const std::string path = change["path"];
        EXPECT_TRUE(fs::is_regular_file(project() + "/" + path)) << path;
        EXPECT_TRUE(change["diff"].get<std::string>().starts_with("--- a/" + path))
            << change["diff"];
    }
}

TEST_F(CliJson, ARefusalSaysWhyAndHowToGoOn) {
    const auto refused = document("rename " + project() + " --json");
    EXPECT_EQ(refused["exitStatus"], 1);
    EXPECT_EQ(refused["status"], "refused");
    EXPECT_EQ(refused["refusal"]["reason"], "notEnoughWords");
    const std::string message = refused["refusal"]["message"];
    EXPECT_TRUE(message.starts_with("not enough words: the default word bank holds 0")) << message;
    EXPECT_NE(message.find("quillet-cli bank set FILE"), std::string::npos) << message;
    EXPECT_TRUE(refused["renamed"].empty());

    const auto noWords = document("methods " + project() + " --json");
    EXPECT_EQ(noWords["status"], "done") << "listing needs no words";

    const auto unreadable =
        document("rename " + project() + " --words " + scratch_.str() + "/none.txt --json");
    EXPECT_EQ(unreadable["exitStatus"], 1);
    EXPECT_EQ(unreadable["refusal"]["reason"], "wordsFile");
    EXPECT_EQ(unreadable["refusal"]["message"], "cannot read " + scratch_.str() + "/none.txt");

    const auto verbose = run("rename " + project() + " --json --verbose");
    EXPECT_EQ(verbose.exitCode, 2) << "the log would mix with the document";
    EXPECT_EQ(verbose.out, "");
}

TEST_F(CliJson, TheBankIsShownWithoutItsOwnersIdentifier) {
    const auto empty = document("bank show --json");
    EXPECT_EQ(empty["command"], "bank show");
    EXPECT_EQ(empty["words"], 0);
    EXPECT_EQ(empty["owner"], "this device");

    WordModel theirs;
    theirs.id = std::string(32, 'A');
    theirs.uuid = std::string(32, 'F');
    theirs.title = "theirs";
    theirs.text = "userAction,loginManager";
    DefaultsStore store(home_.str() + "/.config/Quillet/Defaults.json");
    ASSERT_TRUE(theirs.save(store));
    const auto result = run("bank show --json");
    EXPECT_EQ(result.out.find(theirs.uuid), std::string::npos) << result.out;
    const json shown = json::parse(result.out);
    EXPECT_EQ(shown, json({{"command", "bank show"},
                           {"exitStatus", 0},
                           {"status", "done"},
                           {"token", theirs.id},
                           {"remark", "theirs"},
                           {"words", 2},
                           {"owner", "another device"}}));
}

} // namespace
} // namespace quillet::test
