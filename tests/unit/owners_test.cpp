// Owners: an uninstaller takes out only what its own installer added, and nothing another add-on still needs.
#include <gtest/gtest.h>

#include <functional>

#include "unit/harness.h"

namespace qz {
namespace {

using fake::kIdeIni;
using fake::kRed;
using fake::Machine;
using fake::Strings;

const char* const kLedger = "C:\\C6\\BIN\\QZCL.owners";
const std::string kPath = fake::kEnvKey + "PATH";

// Each run with its owner, and the item's place after it: found items stay, shared ones stay until the last
// owner's removal, a replaced value comes back while it is what QZCL wrote, and a claim never made changes nothing.
TEST(owners, share_items_until_the_last_removal_and_keep_or_restore_what_was_there) {
  const struct {
    std::function<std::string(Machine&)> place;
    std::vector<std::pair<std::string, std::string>> runs;  // arguments, the place after
  } cases[] = {
      {[](Machine& m) { return m.Ini(kRed, "Common", "*.tpl"); },
       {{"/OWNER=A RED Common *.tpl C:\\S;C:\\U", "C:\\U;C:\\S"},
        {"/OWNER=b RED Common *.tpl C:\\S\\", "C:\\U;C:\\S"},
        {"/OWNER=C UNRED Common *.tpl C:\\S", "C:\\U;C:\\S"},  // never claimed
        {"/OWNER=A UNRED Common *.tpl C:\\S;C:\\U", "C:\\U;C:\\S"},
        {"/OWNER=B UNRED Common *.tpl C:\\S", "C:\\U"},
        {"/OWNER=A /ADOPT RED Common *.tpl C:\\U", "C:\\U"},  // an older release's, adopted
        {"/OWNER=A UNRED Common *.tpl C:\\U", "<absent>"}}},
      {[](Machine& m) { return m.registry.values[kPath].text; },
       {{"/OWNER=A ENV PATH C:\\U;C:\\S", "C:\\W;C:\\U;C:\\S"},
        {"/OWNER=A ENV PATH C:\\S", "C:\\W;C:\\U;C:\\S"},  // an upgrade: the same owner again
        {"/OWNER=B ENV PATH C:\\S", "C:\\W;C:\\U;C:\\S"},
        {"/OWNER=A UNENV PATH C:\\U;C:\\S", "C:\\W;C:\\U;C:\\S"},
        {"UNENV PATH C:\\S", "C:\\W;C:\\U"}}},  // without an owner: out, whoever claims it
      {[](Machine& m) { return m.files.contents["t.tpl"]; },
       {{"/OWNER=A INCLUDE t.tpl a.tpw", "#T\r\n#INCLUDE('u.tpw')\r\n\r\n#INCLUDE('a.tpw')\r\n"},
        {"/OWNER=A INCLUDE t.tpl u.tpw", "#T\r\n#INCLUDE('u.tpw')\r\n\r\n#INCLUDE('a.tpw')\r\n"},
        {"/OWNER=A UNINCLUDE t.tpl u.tpw", "#T\r\n#INCLUDE('u.tpw')\r\n\r\n#INCLUDE('a.tpw')\r\n"},
        {"/OWNER=A UNINCLUDE t.tpl a.tpw", "#T\r\n#INCLUDE('u.tpw')\r\n"}}},  // with the blank line it added
      {[](Machine& m) { return m.Ini(kIdeIni, "User Menus", "1") + " " + m.Ini(kIdeIni, "User Applications", "QZ"); },
       {{"/OWNER=A USERMENU QZ M qz.exe", "M|QZ qz.exe"},
        {"/OWNER=A USERMENU QZ N qz2.exe", "N|QZ qz2.exe"},
        {"ABCPATH C:\\L", "N|QZ qz2.exe"},  // the file rewritten by another command
        {"/OWNER=A UNMENU QZ", "<absent> old.exe"}}},
  };
  for (const auto& c : cases) {
    Machine m;
    for (const auto& [arguments, after] : c.runs) {
      EXPECT_EQ(m.Start(arguments), kExitSuccess) << arguments;
      EXPECT_EQ(c.place(m), after) << arguments;
    }
    EXPECT_FALSE(m.files.Exists(kLedger) || m.files.Exists("QZCL.owners") ||
                 m.files.Exists("C:\\ProgramData\\QZCL\\machine.owners"))
        << "every claim gone with its last removal";
  }
  Machine changed;  // a value changed since QZCL wrote it is left as it stands
  changed.Start("/OWNER=A USERMENU QZ M qz.exe");
  changed.SetIni(kIdeIni, "User Applications", "QZ", "mine.exe");
  changed.Start("/OWNER=A UNMENU QZ");
  EXPECT_EQ(changed.Ini(kIdeIni, "User Applications", "QZ"), "mine.exe");
  EXPECT_EQ(changed.dialogs.notes, Strings{});
}

// The ledger a person reads, the notes of a removal, and the OWNERS list.
TEST(owners, are_kept_in_a_ledger_a_person_can_read_and_listed) {
  Machine m;
  m.Start("/WHATIF /OWNER=Vendor-A RED Common *.tpl C:\\S");  // a dry run shows the claim it would write first
  EXPECT_TRUE(m.dialogs.printed.size() == 2u &&
              m.dialogs.printed[0].starts_with(std::string("--- NUL\n+++ ") + kLedger) && !m.files.Exists(kLedger));
  m.Start("/OWNER=Vendor-A USERMENU QZ M qz.exe");
  m.Start("/OWNER=Vendor-B RED Common *.tpl C:\\S");
  m.Start("/OWNER=Vendor-C RED Common *.tpl C:\\S");
  const std::string ide = kIdeIni, red = kRed, ledger = m.files.contents[kLedger];
  EXPECT_EQ(ledger.substr(ledger.find("[Item 1]")),
            "[Item 1]\r\nKind=MENU\r\nFile=" + ide +
                "\r\nAppRef=QZ\r\nFound=No\r\nWritten=M|QZ\r\nOwners=Vendor-A\r\n\r\n" +
                "[Item 2]\r\nKind=APPLICATION\r\nFile=" + ide + "\r\nAppRef=QZ\r\nFound=Yes\r\nEarlier=old.exe\r\n" +
                "Written=qz.exe\r\nOwners=Vendor-A\r\n\r\n[Item 3]\r\nKind=RED\r\nFile=" + red +
                "\r\nSection=Common\r\nEntry=*.tpl\r\nItem=C:\\S\r\nFound=No\r\nOwners=Vendor-B,Vendor-C\r\n");
  m.Start("OWNERS vendor-c");
  EXPECT_EQ(m.dialogs.printed.back(), "Vendor-C\tRED\t" + red + " [Common] *.tpl\tC:\\S\tadded");
  m.dialogs.notes.clear();
  m.Start("UNRED Common *.tpl C:\\S");
  m.Start("/OWNER=Vendor-B UNMENU QZ");
  EXPECT_EQ(m.dialogs.notes, (Strings{"Taken out, though these owners claimed it: Vendor-B,Vendor-C: C:\\S",
                                      "This owner never claimed the item, so it was left: Vendor-B: QZ"}));
  m.Start("OWNERS");
  EXPECT_EQ(
      m.dialogs.printed.back(),
      "Vendor-A\tUSERMENU\t" + ide + "\tQZ\tadded\nVendor-A\tUSERMENU [User Applications]\t" + ide + "\tQZ\tfound");
}

// A kill between the ledger and the target (here: the one written, the other refused) converges when the command
// runs again; a damaged ledger stops the command with its name, and is never taken for an empty one.
TEST(owners, converge_after_a_kill_between_ledger_and_target_and_stop_at_a_damaged_ledger) {
  const struct {
    std::string add, ledger;
    std::function<void(Machine&)> refuseTarget;
    std::function<std::string(Machine&)> place;
    std::string before, added;
  } kinds[] = {
      {"RED Common *.tpl C:\\S", kLedger, [](Machine& m) { m.files.readOnly.insert(kRed); },
       [](Machine& m) { return m.Ini(kRed, "Common", "*.tpl"); }, "C:\\U", "C:\\U;C:\\S"},
      {"ENV PATH C:\\S", "C:\\ProgramData\\QZCL\\machine.owners", [](Machine& m) { m.registry.failWrites = true; },
       [](Machine& m) { return m.registry.values[kPath].text; }, "C:\\W;C:\\U", "C:\\W;C:\\U;C:\\S"},
  };
  const std::tuple<bool, bool, bool, int, bool, std::string> steps[] = {
      // the target refused, the ledger refused, a removal, the exit code, the item there after it, what the
      // ledger then holds ("": no ledger)
      {true, false, false, kExitFailed, false, "Item=C:\\S"},  // the claim is written, the item not
      {false, false, false, kExitSuccess, true, "Item=C:\\S"},
      {true, false, true, kExitFailed, true, "Owners=A"},   // the item cannot go: the claim stays with it
      {false, true, true, kExitFailed, false, "Owners=A"},  // the item goes, the claim stays
      {false, false, true, kExitSuccess, false, ""},
  };
  for (const auto& k : kinds) {
    Machine m;
    for (const auto& [targetRefused, ledgerRefused, removal, exitCode, there, ledger] : steps) {
      const std::string arguments = "/OWNER=A " + (removal ? "UN" + k.add : k.add);
      m.files.readOnly.clear();
      m.registry.failWrites = false;
      if (targetRefused) k.refuseTarget(m);
      if (ledgerRefused) m.files.readOnly.insert(k.ledger);
      EXPECT_EQ(m.Start(arguments), exitCode) << arguments;
      EXPECT_EQ(k.place(m), there ? k.added : k.before) << arguments;
      EXPECT_EQ(m.files.Exists(k.ledger) && m.files.contents[k.ledger].find(ledger) != std::string::npos,
                !ledger.empty())
          << arguments;
    }
  }
  for (const char* arguments : {"/OWNER=A RED Common *.tpl C:\\S", "UNRED Common *.tpl C:\\U", "OWNERS"}) {
    Machine damaged;
    damaged.files.contents[kLedger] = "[Item 1]\r\nKind=RED\r\nOwners=A\r\n";  // no file, no item
    const auto before = damaged.files.contents;
    EXPECT_EQ(damaged.Start(arguments), kExitFailed) << arguments;
    EXPECT_TRUE(damaged.files.contents == before) << arguments;
    EXPECT_EQ(damaged.dialogs.shown.at(0).text, std::string("The owners file could not be read:|  ") + kLedger +
                                                    "|The file is damaged: QZCL cannot read what it holds.||"
                                                    "Nothing was changed.")
        << arguments;
  }
  Machine environment;  // QZCL_OWNER is passed over by a command that takes no owner, and checked by one that does
  environment.program.OwnerFromEnvironment("not a name");
  EXPECT_EQ(environment.Start("WHERE"), kExitSuccess);
  EXPECT_EQ(environment.Start("RED Common *.tpl C:\\S"), kExitUsage);
}

}  // namespace
}  // namespace qz
