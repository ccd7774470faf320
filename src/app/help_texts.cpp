#include "app/help_texts.h"

namespace qz {

void ShowCommandSummary(Services& svc) {
  const std::string line = "|     ";
  const std::string text =
      svc.tr("Command Line Parameters are:") + "|" + line +
      svc.tr(
          "No Command - Display version notes window. Called from Accessories menu, this uses the current "
          "working directory.") +
      line + svc.tr("Version Parameter defaults to 6. Options: are 2,4,5,55 or 6]") + line +
      svc.tr(
          "EDIT [Version - Defaults to Versiono=6] - Allows you to edit Clarion User Menus, File Types, "
          "Open Dialog, Pick Dialog, and QZCL Translations.") +
      line + svc.tr("ENV EnvironmentVariable EnvironmnetValue - sets the value of the passed environment variable.") +
      line + svc.tr("INCLUDE TemplateFile IncludeFile - Adds an include file to a template file, i.e. #IncludeFile#") +
      line + svc.tr("ABCPATH Path [Version] This will change ABC include file source directory and run clarion.") +
      line + svc.tr("RED - Section Entry Path [Version] Adds path to [Section] and Entry in Clarion Redirection File") +
      line +
      svc.tr("RUN - Commandline [Parm1] [Parm2] etc. - Call ShellExec witht the command line and any parameters.") +
      line + svc.tr("REG TemplateToRegister [Versions 2/4/5/55/6]") + line +
      svc.tr("USERMENU AppRef Menu+Display-Menu+Display CommandLine [Parm1+Parm2+Parm3] [Version]") + "|        " +
      svc.tr("+ becomes a space and- becomes a \"/\" Quotes may also be used to separate items") + line +
      svc.tr(
          "UNRED Section Entry Path [Version] - Removes path from [Section] and Entry in Clarion Redirection "
          "File") +
      line + svc.tr("UNENV EnvironmentVariable EnvironmentValue - removes the value from the environment variable.") +
      line + svc.tr("UNMENU AppRef [Version] - Removes the AppRef's items from the Clarion User Menus.") + line +
      svc.tr("UNINCLUDE TemplateFile IncludeFile - Removes the include line INCLUDE added to a template file.") + line +
      svc.tr("WHERE [Version] or WHERE * - Prints where Clarion is installed, for installation programs.") + line +
      svc.tr("OWNERS [Owner] - Lists what installers added with /OWNER=, for installation programs.");
  svc.Inform("QZCL Utility", text, Icon::WinLogo);
}

// Any other word was given: the description, and exit code Usage.
void ShowGeneralDescription(Services& svc) {
  const std::string line = "|    ";
  const std::string text =
      std::string("The QZInstall is a \"Command Line\" Clarion Utility.  ") + svc.tr("From the command line you can:") +
      line + svc.tr("Register a template using DDE") + line + svc.tr("Add Menu Items to the Clarion Environment") +
      line + svc.tr("Add includes files to a template") + line +
      svc.tr("Change the source directory for ABC compliant INClude files.") + "||" +
      svc.tr("Great for use with Wise InstallBuilder Execute Program script.") + " " +
      svc.tr("This is what we now uses for all our installation programs!") + " " +
      svc.tr(
          "Also run it from the Window's Run dialog or an EQUATE() or create project specific ABC library "
          "directories and use it to start Clarion using a selected directory.");
  svc.Refused("QZInstall", text, Icon::WinLogo);
}

}  // namespace qz
