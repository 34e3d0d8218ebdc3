// Saves shortcuts through Wine's shell link object (WScript.Shell's
// CreateShortcut, which saves with IShellLinkW and IPersistFile), one for
// each kind of target, into the folder given: shell-<n>.lnk.
var shell = new ActiveXObject("WScript.Shell");
var out = WScript.Arguments(0);
var desktop = shell.SpecialFolders("Desktop"), documents = shell.ExpandEnvironmentStrings("%USERPROFILE%\\Documents");
var targets = [
  "C:\\windows\\notepad.exe", "C:\\windows", "C:\\windows\\gone.exe", "C:\\gone\\deeper\\x.exe", "C:\\",
  "C:\\Program Files\\Common Files", "C:\\Program Files\\gone app\\run it.exe", desktop + "\\gone.txt",
  documents + "\\report.doc", "C:\\users\\Public\\\u62a5\u544a.txt", "C:\\windows\\system32\\drivers\\etc\\hosts",
  "\\\\server\\share\\gone.exe", "C:\\a.b.c\\x", "C:\\windows\\NOTEPAD.EXE", "C:\\PROGRA~1\\x.exe"
];
for (var i = 0; i < targets.length; ++i) {
  var link = shell.CreateShortcut(out + "\\shell-" + i + ".lnk");
  link.TargetPath = targets[i];
  if (i % 3 == 0) link.Arguments = "/x \"quoted\"";
  if (i % 4 == 1) link.WorkingDirectory = "C:\\windows";
  if (i % 5 == 2) link.Description = "a description";
  link.Save();
}
