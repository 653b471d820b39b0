<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>ProjectFile</name>
    <message>
        <source>Language</source>
        <comment>Widget</comment>
        <translation>Language:</translation>
    </message>
    <message>
        <source>SimplifiedChinese</source>
        <comment>Widget</comment>
        <translation>简体中文</translation>
    </message>
    <message>
        <source>English</source>
        <comment>Widget</comment>
        <translation>English</translation>
    </message>
    <message>
        <source>RecentlyUsedItem</source>
        <comment>Widget</comment>
        <translation>Quick start</translation>
    </message>
    <message>
        <source>ProjectSorting</source>
        <comment>Widget</comment>
        <translation>Sort by</translation>
    </message>
    <message>
        <source>OpenTimeInput</source>
        <comment>Widget</comment>
        <translation>Date</translation>
    </message>
    <message>
        <source>NameInput</source>
        <comment>Widget</comment>
        <translation>Name</translation>
    </message>
    <message>
        <source>SizeInput</source>
        <comment>Widget</comment>
        <translation>Size</translation>
    </message>
    <message>
        <source>NewBulid</source>
        <comment>Widget</comment>
        <translation>New</translation>
    </message>
    <message>
        <source>OpenProject</source>
        <comment>Widget</comment>
        <translation>Open</translation>
    </message>
    <message>
        <source>ExitProject</source>
        <comment>Widget</comment>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Loading</source>
        <comment>Widget</comment>
        <translation>Loading…</translation>
    </message>
    <message>
        <source>SceneTemplate</source>
        <comment>Widget</comment>
        <translation>Scene templates</translation>
    </message>
    <message>
        <source>LastProject</source>
        <comment>Widget</comment>
        <translation>Recent projects</translation>
    </message>
    <message>
        <source>CopyrightStatement</source>
        <comment>Widget</comment>
        <translation> © 2026. All rights reserved.</translation>
    </message>
    <message>
        <source>View</source>
        <comment>Widget</comment>
        <translation>See the </translation>
    </message>
    <message>
        <source>LicenseAgreement</source>
        <comment>Widget</comment>
        <translation>License Agreement</translation>
    </message>
    <message>
        <source>CommaSymbol</source>
        <comment>Widget</comment>
        <translation>, </translation>
    </message>
    <message>
        <source>PrivacyPolicy</source>
        <comment>Widget</comment>
        <translation>Privacy Policy</translation>
    </message>
    <message>
        <source>AndSymbol</source>
        <comment>Widget</comment>
        <translation> and </translation>
    </message>
    <message>
        <source>ThirdPartyLicense</source>
        <comment>Widget</comment>
        <translation>Third-Party Notices</translation>
    </message>
    <message>
        <source>Saving</source>
        <comment>Widget</comment>
        <translation>Saving…</translation>
    </message>
    <message>
        <source>NullFileTip</source>
        <comment>Widget</comment>
        <translation>The project file no longer exists. It may have been moved or deleted.</translation>
    </message>
    <message>
        <source>FileDamage</source>
        <comment>Widget</comment>
        <translation>The project file is damaged and cannot be opened.</translation>
    </message>
    <message>
        <source>FileNameTip</source>
        <comment>Widget</comment>
        <translation>The name is too long or contains a character that is not allowed (\ / ? " &lt; &gt; |).</translation>
    </message>
    <message>
        <source>NoPermission</source>
        <comment>Widget</comment>
        <translation>You do not have permission to write to this folder.</translation>
    </message>
    <message>
        <source>WhetherCover</source>
        <comment>Widget</comment>
        <translation>A file with this name already exists. Replace it?</translation>
    </message>
    <message>
        <source>OK</source>
        <comment>Widget</comment>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>Widget</comment>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Name</source>
        <comment>Widget</comment>
        <translation>Name</translation>
    </message>
    <message>
        <source>FileType</source>
        <comment>Widget</comment>
        <translation>File type</translation>
    </message>
    <message>
        <source>ChooseFile</source>
        <comment>Widget</comment>
        <translation>Open Project</translation>
    </message>
    <message>
        <source>ChooseSaveDir</source>
        <comment>Widget</comment>
        <translation>Choose Where to Save</translation>
    </message>
    <message>
        <source>BlankTemplate</source>
        <comment>Widget</comment>
        <translation>Blank scene</translation>
    </message>
    <message>
        <source>TwoScreenTemplate</source>
        <comment>Widget</comment>
        <translation>Two screens</translation>
    </message>
    <message>
        <source>ThreeScreenTemplate</source>
        <comment>Widget</comment>
        <translation>Three screens</translation>
    </message>
    <message>
        <source>EmptyFileList</source>
        <comment>Widget</comment>
        <translation>No recent projects yet</translation>
    </message>
    <message>
        <source>ClearFile</source>
        <comment>Widget</comment>
        <translation>Remove from List</translation>
    </message>
    <message>
        <source>DeleteFiles</source>
        <comment>Widget</comment>
        <translation>Delete Project File</translation>
    </message>
    <message>
        <source>StorageLocation</source>
        <comment>Widget</comment>
        <translation>Location:</translation>
    </message>
    <message>
        <source>InitializeTip</source>
        <comment>Widget</comment>
        <translation>Starting up, please wait…</translation>
    </message>
    <message>
        <source>ProhibitPackage</source>
        <comment>Widget</comment>
        <translation>Open a project before packaging it.</translation>
    </message>
    <message>
        <source>ReSelect</source>
        <comment>Widget</comment>
        <translation>A folder with this name already exists here. Choose another name or location.</translation>
    </message>
    <message>
        <source>ClosePackageTip</source>
        <comment>Widget</comment>
        <translation>Packaging is in progress. Stop it and close?</translation>
    </message>
    <message>
        <source>PackageSetting</source>
        <comment>Widget</comment>
        <translation>Package Project</translation>
    </message>
    <message>
        <source>SelectPackageFiles</source>
        <comment>Widget</comment>
        <translation>Include</translation>
    </message>
    <message>
        <source>UsedMedias</source>
        <comment>Widget</comment>
        <translation>Used media</translation>
    </message>
    <message>
        <source>AllMedias</source>
        <comment>Widget</comment>
        <translation>All media</translation>
    </message>
    <message>
        <source>SelectLocation</source>
        <comment>Widget</comment>
        <translation>Location</translation>
    </message>
    <message>
        <source>Select</source>
        <comment>Widget</comment>
        <translation>Browse…</translation>
    </message>
    <message>
        <source>FileSize</source>
        <comment>Widget</comment>
        <translation>Package size: </translation>
    </message>
    <message>
        <source>RemainPackageSpace</source>
        <comment>Widget</comment>
        <translation>    Free space: </translation>
    </message>
    <message>
        <source>ToPackage</source>
        <comment>Widget</comment>
        <translation>Package</translation>
    </message>
    <message>
        <source>CancelPackage</source>
        <comment>Widget</comment>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Canceling</source>
        <comment>Widget</comment>
        <translation>Cancelling…</translation>
    </message>
    <message>
        <source>Speed</source>
        <comment>Widget</comment>
        <translation>Speed: </translation>
    </message>
    <message>
        <source>RemainTime</source>
        <comment>Widget</comment>
        <translation>Time left: </translation>
    </message>
    <message>
        <source>NoSpace</source>
        <comment>Widget</comment>
        <translation>Not enough space</translation>
    </message>
    <message>
        <source>SelectFolder</source>
        <comment>Widget</comment>
        <translation>Choose Folder</translation>
    </message>
</context>
<context>
    <name>VexaDemo</name>
    <message>
        <source>AppTitle</source>
        <comment>Host</comment>
        <translation>Vexa LED Studio</translation>
    </message>
    <message>
        <source>New</source>
        <comment>Host</comment>
        <translation>New</translation>
    </message>
    <message>
        <source>Open</source>
        <comment>Host</comment>
        <translation>Open</translation>
    </message>
    <message>
        <source>Save</source>
        <comment>Host</comment>
        <translation>Save</translation>
    </message>
    <message>
        <source>SaveAs</source>
        <comment>Host</comment>
        <translation>Save As</translation>
    </message>
    <message>
        <source>Package</source>
        <comment>Host</comment>
        <translation>Package</translation>
    </message>
    <message>
        <source>StartPage</source>
        <comment>Host</comment>
        <translation>Start Page</translation>
    </message>
    <message>
        <source>Language</source>
        <comment>Host</comment>
        <translation>Language</translation>
    </message>
    <message>
        <source>Quit</source>
        <comment>Host</comment>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Minimize</source>
        <comment>Host</comment>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>NoProject</source>
        <comment>Host</comment>
        <translation>No project is open</translation>
    </message>
    <message>
        <source>NoProjectHint</source>
        <comment>Host</comment>
        <translation>Create a project or open one from the start page.</translation>
    </message>
    <message>
        <source>Screens</source>
        <comment>Host</comment>
        <translation>SCREENS</translation>
    </message>
    <message>
        <source>Media</source>
        <comment>Host</comment>
        <translation>MEDIA</translation>
    </message>
    <message>
        <source>MediaName</source>
        <comment>Host</comment>
        <translation>Name</translation>
    </message>
    <message>
        <source>MediaSize</source>
        <comment>Host</comment>
        <translation>Size</translation>
    </message>
    <message>
        <source>MediaUsed</source>
        <comment>Host</comment>
        <translation>Used</translation>
    </message>
    <message>
        <source>MediaLocation</source>
        <comment>Host</comment>
        <translation>Location</translation>
    </message>
    <message>
        <source>Missing</source>
        <comment>Host</comment>
        <translation>missing</translation>
    </message>
    <message>
        <source>Template</source>
        <comment>Host</comment>
        <translation>Template</translation>
    </message>
    <message>
        <source>LastSaved</source>
        <comment>Host</comment>
        <translation>Last saved</translation>
    </message>
    <message>
        <source>Unsaved</source>
        <comment>Host</comment>
        <translation>Unsaved changes</translation>
    </message>
    <message>
        <source>ScreenCount</source>
        <comment>Host</comment>
        <translation>%1 screens</translation>
    </message>
    <message>
        <source>OneScreen</source>
        <comment>Host</comment>
        <translation>1 screen</translation>
    </message>
    <message>
        <source>MediaSummary</source>
        <comment>Host</comment>
        <translation>%1 media, %2</translation>
    </message>
    <message>
        <source>Opened</source>
        <comment>Host</comment>
        <translation>Opened %1</translation>
    </message>
    <message>
        <source>Saved</source>
        <comment>Host</comment>
        <translation>Saved %1</translation>
    </message>
    <message>
        <source>PackageDone</source>
        <comment>Host</comment>
        <translation>The package was created in:
%1</translation>
    </message>
    <message>
        <source>PackageFailed</source>
        <comment>Host</comment>
        <translation>Packaging failed; the unfinished package was removed:
%1</translation>
    </message>
    <message>
        <source>OpenFolder</source>
        <comment>Host</comment>
        <translation>Open Folder</translation>
    </message>
    <message>
        <source>SaveFailed</source>
        <comment>Host</comment>
        <translation>The project could not be saved to:
%1</translation>
    </message>
    <message>
        <source>CreateFailed</source>
        <comment>Host</comment>
        <translation>The project could not be created at:
%1</translation>
    </message>
    <message>
        <source>LowSpace</source>
        <comment>Host</comment>
        <translation>Only %1 left on the project's drive.</translation>
    </message>
    <message>
        <source>AskSave</source>
        <comment>Host</comment>
        <translation>The project has unsaved changes. Save them before quitting?</translation>
    </message>
    <message>
        <source>DontSave</source>
        <comment>Host</comment>
        <translation>Don't Save</translation>
    </message>
    <message>
        <source>Restored</source>
        <comment>Host</comment>
        <translation>Restored %1 after an unexpected exit</translation>
    </message>
    <message>
        <source>BlankTemplate</source>
        <comment>Host</comment>
        <translation>Blank scene</translation>
    </message>
    <message>
        <source>TwoScreenTemplate</source>
        <comment>Host</comment>
        <translation>Two screens</translation>
    </message>
    <message>
        <source>ThreeScreenTemplate</source>
        <comment>Host</comment>
        <translation>Three screens</translation>
    </message>
    <message>
        <source>OK</source>
        <comment>Host</comment>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>Host</comment>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>AddMedia</source>
        <comment>Host</comment>
        <translation>Add Media</translation>
    </message>
    <message>
        <source>MediaFilter</source>
        <comment>Host</comment>
        <translation>Media files</translation>
    </message>
</context>
</TS>
