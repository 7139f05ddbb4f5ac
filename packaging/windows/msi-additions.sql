-- What tavlo.wxs cannot say to wixl 0.101, added to the database it wrote: one statement a line,
-- run by make_msi.sh through msibuild.
--
-- The help copy that View help wrote (%LOCALAPPDATA%\Tavlo\help, its pictures in img) goes with
-- the program, and so do the folders once empty; the user's settings are not in them. Every file
-- there, a page or picture of an older Tavlo too (make_msi.sh adds each of this one's by name).
INSERT INTO `RemoveFile` (`FileKey`, `Component_`, `FileName`, `DirProperty`, `InstallMode`) VALUES ('RemoveHelpPictures', 'HelpCopy', '*', 'HelpPicturesFolder', 2)
INSERT INTO `RemoveFile` (`FileKey`, `Component_`, `FileName`, `DirProperty`, `InstallMode`) VALUES ('RemoveHelpPage', 'HelpCopy', '*', 'HelpFolder', 2)
INSERT INTO `RemoveFile` (`FileKey`, `Component_`, `DirProperty`, `InstallMode`) VALUES ('RemoveHelpFolder', 'HelpCopy', 'HelpFolder', 2)
INSERT INTO `RemoveFile` (`FileKey`, `Component_`, `DirProperty`, `InstallMode`) VALUES ('RemoveTavloDataFolder', 'HelpCopy', 'TavloDataFolder', 2)
--
-- The program that opens .rgn files now (the default value of HKEY_CLASSES_ROOT\.rgn, a key's
-- default value, which wixl cannot search): Tavlo becomes it only when there is none, or when it
-- is Tavlo already (an upgrade).
INSERT INTO `RegLocator` (`Signature_`, `Root`, `Key`, `Type`) VALUES ('RgnFileType', 0, '.rgn', 2)
INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('RGN_FILE_TYPE', 'RgnFileType')
INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('AppSearch', 50)
INSERT INTO `InstallUISequence` (`Action`, `Sequence`) VALUES ('AppSearch', 50)
UPDATE `Component` SET `Condition` = 'NOT RGN_FILE_TYPE OR RGN_FILE_TYPE = "Tavlo.rgn"' WHERE `Component` = 'DefaultProgram'
--
-- Add or Remove Programs shows where Tavlo lies.
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('SetInstallLocation', 51, 'ARPINSTALLLOCATION', '[INSTALLDIR]')
INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('SetInstallLocation', 1001)
