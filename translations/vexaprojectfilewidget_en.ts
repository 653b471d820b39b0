<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>ProjectFile</name>
    <message>
        <source>Language</source>
        <comment>Widget</comment>
        <translation>Language</translation>
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
        <translation>Recently Used</translation>
    </message>
    <message>
        <source>ProjectSorting</source>
        <comment>Widget</comment>
        <translation>Sort by</translation>
    </message>
    <message>
        <source>OpenTimeInput</source>
        <comment>Widget</comment>
        <translation>Date Modified</translation>
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
        <translation>Loading, please wait...</translation>
    </message>
    <message>
        <source>SceneTemplate</source>
        <comment>Widget</comment>
        <translation>Scene Templates</translation>
    </message>
    <message>
        <source>LastProject</source>
        <comment>Widget</comment>
        <translation>Recent Projects</translation>
    </message>
    <message>
        <source>CopyrightStatement</source>
        <comment>Widget</comment>
        <translation> All rights reserved.</translation>
    </message>
    <message>
        <source>View</source>
        <comment>Widget</comment>
        <translation>View the&#xa0;</translation>
    </message>
    <message>
        <source>LicenseAgreement</source>
        <comment>Widget</comment>
        <translation>License Agreement</translation>
    </message>
    <message>
        <source>CommaSymbol</source>
        <comment>Widget</comment>
        <translation>,&#xa0;</translation>
    </message>
    <message>
        <source>PrivacyPolicy</source>
        <comment>Widget</comment>
        <translation>Privacy Policy</translation>
    </message>
    <message>
        <source>AndSymbol</source>
        <comment>Widget</comment>
        <translation>&#xa0;and&#xa0;</translation>
    </message>
    <message>
        <source>ThirdPartyLicense</source>
        <comment>Widget</comment>
        <translation>Third-Party Notices</translation>
    </message>
    <message>
        <source>Saving</source>
        <comment>Widget</comment>
        <translation>Saving, please wait...</translation>
    </message>
    <message>
        <source>NullFileTip</source>
        <comment>Widget</comment>
        <translation>The project file does not exist. It may have been moved or deleted.</translation>
    </message>
    <message>
        <source>FileDamage</source>
        <comment>Widget</comment>
        <translation>The project file is damaged and cannot be opened.</translation>
    </message>
    <message>
        <source>FileNameTip</source>
        <comment>Widget</comment>
        <translation>The file name is not valid. It must not start with a dot or contain any of the characters / \ ? &quot; &lt; &gt; |, and the full path must be shorter than 260 characters.</translation>
    </message>
    <message>
        <source>NoPermission</source>
        <comment>Widget</comment>
        <translation>You do not have permission to write to this folder. Please choose another folder.</translation>
    </message>
    <message>
        <source>WhetherCover</source>
        <comment>Widget</comment>
        <translation>A file with this name already exists. Do you want to replace it?</translation>
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
        <translation>Choose Save Location</translation>
    </message>
    <message>
        <source>BlankTemplate</source>
        <comment>Widget</comment>
        <translation>Blank</translation>
    </message>
    <message>
        <source>TwoScreenTemplate</source>
        <comment>Widget</comment>
        <translation>Two Screens</translation>
    </message>
    <message>
        <source>ThreeScreenTemplate</source>
        <comment>Widget</comment>
        <translation>Three Screens</translation>
    </message>
    <message>
        <source>EmptyFileList</source>
        <comment>Widget</comment>
        <translation>No recent projects</translation>
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
        <source>DeleteFileTip</source>
        <comment>Widget</comment>
        <translation>Delete this project file? It will be moved to the trash.</translation>
    </message>
    <message>
        <source>StorageLocation</source>
        <comment>Widget</comment>
        <translation>Location:</translation>
    </message>
    <message>
        <source>InitializeTip</source>
        <comment>Widget</comment>
        <translation>Starting up, please wait...</translation>
    </message>
    <message>
        <source>ProhibitPackage</source>
        <comment>Widget</comment>
        <translation>The current project cannot be packaged at the moment.</translation>
    </message>
    <message>
        <source>ReSelect</source>
        <comment>Widget</comment>
        <translation>A file or folder with this name already exists at this location. Please choose another name or location.</translation>
    </message>
    <message>
        <source>PackageFolderFailed</source>
        <comment>Widget</comment>
        <translation>The package folders could not be made at this location. Please choose another location.</translation>
    </message>
    <message>
        <source>PackageHostUnavailable</source>
        <comment>Widget</comment>
        <translation>Packaging cannot start right now. Please try again later.</translation>
    </message>
    <message>
        <source>ClosePackageTip</source>
        <comment>Widget</comment>
        <translation>Packaging is in progress. Do you want to stop packaging and close?</translation>
    </message>
    <message>
        <source>PackageSetting</source>
        <comment>Widget</comment>
        <translation>Package Project</translation>
    </message>
    <message>
        <source>SelectPackageFiles</source>
        <comment>Widget</comment>
        <translation>Media</translation>
    </message>
    <message>
        <source>UsedMedias</source>
        <comment>Widget</comment>
        <translation>Used media only</translation>
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
        <translation>Browse</translation>
    </message>
    <message>
        <source>FileSize</source>
        <comment>Widget</comment>
        <translation>Package size: </translation>
    </message>
    <message>
        <source>RemainPackageSpace</source>
        <comment>Widget</comment>
        <translation>&#xa0;&#xa0;Free space: </translation>
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
        <translation>Canceling...</translation>
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
        <translation>Select Folder</translation>
    </message>
    <message>
        <source>ListFileKeptTip</source>
        <comment>Widget</comment>
        <translation>The list of recent projects was damaged. It has started afresh with every project that could still be read; the damaged list was kept here:</translation>
    </message>
    <message>
        <source>DeleteFailedTip</source>
        <comment>Widget</comment>
        <translation>The project file could not be moved to the trash and was not deleted:</translation>
    </message>
    <message>
        <source>DamagedFileTip</source>
        <comment>Widget</comment>
        <translation>This project failed to open last time, so it is not opened from this list. If it has been repaired, open it with Open.</translation>
    </message>
    <message>
        <source>SaveHostUnavailable</source>
        <comment>Widget</comment>
        <translation>The project cannot be saved right now. Please try again later.</translation>
    </message>
    <message>
        <source>CheckingFile</source>
        <comment>Widget</comment>
        <translation>Checking…</translation>
    </message>
    <message>
        <source>UnreachableTip</source>
        <comment>Widget</comment>
        <translation>The location cannot be reached: %1</translation>
    </message>
    <message>
        <source>UnreachableFileTip</source>
        <comment>Widget</comment>
        <translation>The project's location cannot be reached right now:
%1
Check that the drive or network share is connected, then try again.</translation>
    </message>
    <message>
        <source>SortDescending</source>
        <comment>Widget</comment>
        <translation>Sort direction: descending</translation>
    </message>
    <message>
        <source>SortAscending</source>
        <comment>Widget</comment>
        <translation>Sort direction: ascending</translation>
    </message>
    <message>
        <source>RecentRowFacts</source>
        <comment>Widget</comment>
        <translation>Modified %1, size %2, location %3</translation>
    </message>
    <message>
        <source>RecentRowDamaged</source>
        <comment>Widget</comment>
        <translation>%1, damaged</translation>
    </message>
    <message>
        <source>PackageProgress</source>
        <comment>Widget</comment>
        <translation>Packaging progress</translation>
    </message>
    <message>
        <source>ProgressFacts</source>
        <comment>Widget</comment>
        <translation>%1%2, %3%4</translation>
    </message>
    <message>
        <source>RecentRowUnavailable</source>
        <comment>Widget</comment>
        <translation>%1, unavailable: its location cannot be reached</translation>
    </message>
    <message>
        <source>RecentRowChecking</source>
        <comment>Widget</comment>
        <translation>%1, being checked</translation>
    </message>
    <message>
        <source>FilterPlaceholder</source>
        <comment>Widget</comment>
        <translation>Filter projects</translation>
    </message>
    <message>
        <source>FilterMatches</source>
        <comment>Widget</comment>
        <translation>%1 of %2 projects match</translation>
    </message>
    <message>
        <source>NoProjectMatches</source>
        <comment>Widget</comment>
        <translation>No project matches "%1"</translation>
    </message>
    <message>
        <source>PinToTop</source>
        <comment>Widget</comment>
        <translation>Pin to top</translation>
    </message>
    <message>
        <source>Unpin</source>
        <comment>Widget</comment>
        <translation>Unpin</translation>
    </message>
    <message>
        <source>PinnedMark</source>
        <comment>Widget</comment>
        <translation>Pinned</translation>
    </message>
    <message>
        <source>MissingFileTip</source>
        <comment>Widget</comment>
        <translation>The project file is no longer at %1. Unpin or forget it to take it off the list.</translation>
    </message>
    <message>
        <source>RecentRowPinned</source>
        <comment>Widget</comment>
        <translation>Pinned, %1</translation>
    </message>
    <message>
        <source>RecentRowMissing</source>
        <comment>Widget</comment>
        <translation>%1, file no longer there</translation>
    </message>
</context>
</TS>
