<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
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
        <translation>The project “%1” has unsaved changes. Save them before closing it?</translation>
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
    <message>
        <source>ChooseTemplate</source>
        <comment>Host</comment>
        <translation>New project from a scene template</translation>
    </message>
    <message>
        <source>StartPageTip</source>
        <comment>Host</comment>
        <translation>Start page (Esc returns to the project)</translation>
    </message>
    <message>
        <source>ReasonDiskFull</source>
        <comment>Host</comment>
        <translation>The disk is full.</translation>
    </message>
    <message>
        <source>ReasonNoPermission</source>
        <comment>Host</comment>
        <translation>You have no permission to write there.</translation>
    </message>
    <message>
        <source>ReasonMissing</source>
        <comment>Host</comment>
        <translation>The file or its folder no longer exists.</translation>
    </message>
    <message>
        <source>ReasonOther</source>
        <comment>Host</comment>
        <translation>The system reports: %1</translation>
    </message>
    <message>
        <source>NoHandler</source>
        <comment>Host</comment>
        <translation>No program on this computer can open:
%1</translation>
    </message>
    <message>
        <source>DocumentNotOpened</source>
        <comment>Host</comment>
        <translation>The document cannot be shown: it is missing, or no program on this computer opens it.</translation>
    </message>
    <message>
        <source>Name</source>
        <comment>Host</comment>
        <translation>Name</translation>
    </message>
    <message>
        <source>FileType</source>
        <comment>Host</comment>
        <translation>File type</translation>
    </message>
    <message>
        <source>MediaAdded</source>
        <comment>Host</comment>
        <translation>Media added: %1</translation>
    </message>
    <message>
        <source>AskRecover</source>
        <comment>Host</comment>
        <translation>The changes to %1 were not saved when the application ended. The last autosave is from %2.
Recover them?</translation>
    </message>
    <message>
        <source>Recover</source>
        <comment>Host</comment>
        <translation>Recover</translation>
    </message>
    <message>
        <source>Discard</source>
        <comment>Host</comment>
        <translation>Discard</translation>
    </message>
    <message>
        <source>Recovered</source>
        <comment>Host</comment>
        <translation>Unsaved changes recovered: save to keep them</translation>
    </message>
    <message>
        <source>AskStopPackage</source>
        <comment>Host</comment>
        <translation>A package is being made. Stop it and quit?
What it has copied so far is removed.</translation>
    </message>
    <message>
        <source>StopPackage</source>
        <comment>Host</comment>
        <translation>Stop and Quit</translation>
    </message>
    <message>
        <source>KeepPackaging</source>
        <comment>Host</comment>
        <translation>Keep Packaging</translation>
    </message>
    <message>
        <source>ReasonNotFile</source>
        <comment>Host</comment>
        <translation>It is not a regular file.</translation>
    </message>
</context>
</TS>
