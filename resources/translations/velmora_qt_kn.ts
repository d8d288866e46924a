<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="kn_IN" sourcelanguage="en">
<!-- The texts of Qt's own dialogs that the program shows (the file dialog, the print dialog and
     its pages, the standard buttons, a text box's menu), in Kannada. Built into the program with
     lrelease; sources as Qt 6 writes them, by context. -->
<context>
    <name>QFileDialog</name>
    <message>
        <source>Back</source>
        <translation>ಹಿಂದೆ</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>ತೆರೆ</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>ತೆರೆ (&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>ಉಳಿಸು (&amp;S)</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>ಕಡತಗಳು</translation>
    </message>
    <message>
        <source>Show </source>
        <translation>ತೋರಿಸು </translation>
    </message>
    <message>
        <source>&apos;%1&apos; is write protected.
Do you want to delete it anyway?</source>
        <translation>&apos;%1&apos; ಬರೆಯದಂತೆ ಕಾಯ್ದಿರಿಸಲಾಗಿದೆ.
ಆದರೂ ಅದನ್ನು ಅಳಿಸಬೇಕೆ?</translation>
    </message>
    <message>
        <source>Are you sure you want to delete &apos;%1&apos;?</source>
        <translation>&apos;%1&apos; ಅನ್ನು ಅಳಿಸಬೇಕೆ?</translation>
    </message>
    <message>
        <source>List of places and bookmarks</source>
        <translation>ಸ್ಥಳಗಳು ಮತ್ತು ಗುರುತುಗಳ ಪಟ್ಟಿ</translation>
    </message>
    <message>
        <source>File &amp;name:</source>
        <translation>ಕಡತದ ಹೆಸರು (&amp;N):</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>ಅಳಿಸು</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>ಹೊಸ ಫೋಲ್ಡರ್</translation>
    </message>
    <message>
        <source>Parent Directory</source>
        <translation>ಮೇಲಿನ ಫೋಲ್ಡರ್</translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation>ಹೊಸ ಫೋಲ್ಡರ್ (&amp;N)</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>ತೆಗೆದುಹಾಕು</translation>
    </message>
    <message>
        <source>Look in:</source>
        <translation>ಫೋಲ್ಡರ್:</translation>
    </message>
    <message>
        <source>Create a New Folder</source>
        <translation>ಹೊಸ ಫೋಲ್ಡರ್ ಮಾಡು</translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation>ಕಡತದ ಬಗೆ:</translation>
    </message>
    <message>
        <source>Find Directory</source>
        <translation>ಫೋಲ್ಡರ್ ಹುಡುಕು</translation>
    </message>
    <message>
        <source>Show &amp;hidden files</source>
        <translation>ಅಡಗಿಸಿದ ಕಡತಗಳನ್ನೂ ತೋರಿಸು (&amp;H)</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>ಹೀಗೆ ಉಳಿಸು</translation>
    </message>
    <message>
        <source>%1
Directory not found.
Please verify the correct directory name was given.</source>
        <translation>%1
ಈ ಫೋಲ್ಡರ್ ಸಿಗಲಿಲ್ಲ.
ಫೋಲ್ಡರ್‌ನ ಹೆಸರು ಸರಿಯಾಗಿದೆಯೇ ನೋಡಿ.</translation>
    </message>
    <message>
        <source>Sidebar</source>
        <translation>ಪಕ್ಕದ ಪಟ್ಟಿ</translation>
    </message>
    <message>
        <source>List View</source>
        <translation>ಪಟ್ಟಿ ನೋಟ</translation>
    </message>
    <message>
        <source>&amp;Choose</source>
        <translation>ಆರಿಸು (&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>ಅಳಿಸು (&amp;D)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>ಎಲ್ಲ ಕಡತಗಳು (*)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>ಎಲ್ಲ ಕಡತಗಳು (*)</translation>
    </message>
    <message>
        <source>Directories</source>
        <translation>ಫೋಲ್ಡರ್‌ಗಳು</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>ಹೆಸರು ಬದಲಿಸು (&amp;R)</translation>
    </message>
    <message>
        <source>Could not delete directory.</source>
        <translation>ಫೋಲ್ಡರ್ ಅಳಿಸಲಾಗಲಿಲ್ಲ.</translation>
    </message>
    <message>
        <source>Directory:</source>
        <translation>ಫೋಲ್ಡರ್:</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 ಈಗಾಗಲೇ ಇದೆ.
ಅದರ ಬದಲಿಗೆ ಇದನ್ನು ಉಳಿಸಬೇಕೆ?</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>ಮುಂದೆ</translation>
    </message>
    <message>
        <source>Go forward</source>
        <translation>ಮುಂದಕ್ಕೆ ಹೋಗು</translation>
    </message>
    <message>
        <source>Go to the parent directory</source>
        <translation>ಮೇಲಿನ ಫೋಲ್ಡರ್‌ಗೆ ಹೋಗು</translation>
    </message>
    <message>
        <source>Recent Places</source>
        <translation>ಇತ್ತೀಚಿನ ಸ್ಥಳಗಳು</translation>
    </message>
    <message>
        <source>Go back</source>
        <translation>ಹಿಂದಕ್ಕೆ ಹೋಗು</translation>
    </message>
    <message>
        <source>Change to detail view mode</source>
        <translation>ವಿವರ ನೋಟಕ್ಕೆ ಬದಲಿಸು</translation>
    </message>
    <message>
        <source>Create New Folder</source>
        <translation>ಹೊಸ ಫೋಲ್ಡರ್ ಮಾಡು</translation>
    </message>
    <message>
        <source>Detail View</source>
        <translation>ವಿವರ ನೋಟ</translation>
    </message>
    <message>
        <source>%1
File not found.
Please verify the correct file name was given.</source>
        <translation>%1
ಕಡತ ಸಿಗಲಿಲ್ಲ.
ಕಡತದ ಹೆಸರು ಸರಿಯಾಗಿದೆಯೇ ನೋಡಿ.</translation>
    </message>
    <message>
        <source>Change to list view mode</source>
        <translation>ಪಟ್ಟಿ ನೋಟಕ್ಕೆ ಬದಲಿಸು</translation>
    </message>
</context>
<context>
    <name>QFileSystemModel</name>
    <message>
        <source>Name</source>
        <translation>ಹೆಸರು</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>ಗಾತ್ರ</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>ಬಗೆ</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>ಬಗೆ</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>ಬದಲಾದ ದಿನ</translation>
    </message>
    <message>
        <source>My Computer</source>
        <translation>ನನ್ನ ಗಣಕ</translation>
    </message>
    <message>
        <source>Computer</source>
        <translation>ಗಣಕ</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>File</source>
        <translation>ಕಡತ</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>ಡ್ರೈವ್</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>ಫೋಲ್ಡರ್</translation>
    </message>
    <message>
        <source>File Folder</source>
        <translation>ಫೋಲ್ಡರ್</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>ಗೊತ್ತಿಲ್ಲ</translation>
    </message>
    <message>
        <source>Shortcut</source>
        <translation>ಕಿರುದಾರಿ</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>ಸರಿ</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>ಇಲ್ಲ (&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>ಹೌದು (&amp;Y)</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>ಸಹಾಯ</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>ತೆರೆ</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>ಉಳಿಸು</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>ನಿಲ್ಲಿಸು</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>ಅನ್ವಯಿಸು</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>ಮುಚ್ಚು</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>ಮೊದಲಿನಂತೆ ಮಾಡು</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>ಮತ್ತೆ ಪ್ರಯತ್ನಿಸು</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>ಮೂಲ ಆಯ್ಕೆಗಳಿಗೆ ಮರಳು</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>ರದ್ದುಮಾಡು</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>ಕಡೆಗಣಿಸು</translation>
    </message>
    <message>
        <source>N&amp;o to All</source>
        <translation>ಯಾವುದಕ್ಕೂ ಇಲ್ಲ (&amp;O)</translation>
    </message>
    <message>
        <source>Save All</source>
        <translation>ಎಲ್ಲವನ್ನೂ ಉಳಿಸು</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>ಬಿಟ್ಟುಬಿಡು</translation>
    </message>
    <message>
        <source>Yes to &amp;All</source>
        <translation>ಎಲ್ಲಕ್ಕೂ ಹೌದು (&amp;A)</translation>
    </message>
</context>
<context>
    <name>QGnomeTheme</name>
    <message>
        <source>&amp;OK</source>
        <translation>ಸರಿ (&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>ಉಳಿಸು (&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>ಮುಚ್ಚು (&amp;C)</translation>
    </message>
    <message>
        <source>Close without Saving</source>
        <translation>ಉಳಿಸದೆ ಮುಚ್ಚು</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>ರದ್ದುಮಾಡು (&amp;C)</translation>
    </message>
</context>
<context>
    <name>QDialogButtonBox</name>
    <message>
        <source>OK</source>
        <translation>ಸರಿ</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>Cu&amp;t</source>
        <translation>ಕತ್ತರಿಸು (&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>ನಕಲಿಸು (&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>ಮತ್ತೆ ಮಾಡು (&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>ಹಿಂದಿನಂತೆ ಮಾಡು (&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>ಅಂಟಿಸು (&amp;P)</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>ಅಳಿಸು</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>ಎಲ್ಲವನ್ನೂ ಆರಿಸು</translation>
    </message>
</context>
<context>
    <name>QWidgetTextControl</name>
    <message>
        <source>Cu&amp;t</source>
        <translation>ಕತ್ತರಿಸು (&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>ನಕಲಿಸು (&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>ಮತ್ತೆ ಮಾಡು (&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>ಹಿಂದಿನಂತೆ ಮಾಡು (&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>ಅಂಟಿಸು (&amp;P)</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>ಅಳಿಸು</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>ಎಲ್ಲವನ್ನೂ ಆರಿಸು</translation>
    </message>
    <message>
        <source>Copy &amp;Link Location</source>
        <translation>ಕೊಂಡಿಯ ವಿಳಾಸ ನಕಲಿಸು (&amp;L)</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>Print</source>
        <translation>ಮುದ್ರಿಸು</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>ಮುದ್ರಿಸು (&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Options &lt;&lt;</source>
        <translation>ಆಯ್ಕೆಗಳು (&amp;O) &lt;&lt;</translation>
    </message>
    <message>
        <source>&amp;Options &gt;&gt;</source>
        <translation>ಆಯ್ಕೆಗಳು (&amp;O) &gt;&gt;</translation>
    </message>
    <message>
        <source>All Pages</source>
        <translation>ಎಲ್ಲ ಪುಟಗಳು</translation>
    </message>
    <message>
        <source>Even Pages</source>
        <translation>ಸಮ ಸಂಖ್ಯೆಯ ಪುಟಗಳು</translation>
    </message>
    <message>
        <source>Odd Pages</source>
        <translation>ಬೆಸ ಸಂಖ್ಯೆಯ ಪುಟಗಳು</translation>
    </message>
    <message>
        <source>Left to Right, Top to Bottom</source>
        <translation>ಎಡದಿಂದ ಬಲಕ್ಕೆ, ಮೇಲಿನಿಂದ ಕೆಳಕ್ಕೆ</translation>
    </message>
    <message>
        <source>Left to Right, Bottom to Top</source>
        <translation>ಎಡದಿಂದ ಬಲಕ್ಕೆ, ಕೆಳಗಿನಿಂದ ಮೇಲಕ್ಕೆ</translation>
    </message>
    <message>
        <source>Right to Left, Bottom to Top</source>
        <translation>ಬಲದಿಂದ ಎಡಕ್ಕೆ, ಕೆಳಗಿನಿಂದ ಮೇಲಕ್ಕೆ</translation>
    </message>
    <message>
        <source>Right to Left, Top to Bottom</source>
        <translation>ಬಲದಿಂದ ಎಡಕ್ಕೆ, ಮೇಲಿನಿಂದ ಕೆಳಕ್ಕೆ</translation>
    </message>
    <message>
        <source>Bottom to Top, Left to Right</source>
        <translation>ಕೆಳಗಿನಿಂದ ಮೇಲಕ್ಕೆ, ಎಡದಿಂದ ಬಲಕ್ಕೆ</translation>
    </message>
    <message>
        <source>Bottom to Top, Right to Left</source>
        <translation>ಕೆಳಗಿನಿಂದ ಮೇಲಕ್ಕೆ, ಬಲದಿಂದ ಎಡಕ್ಕೆ</translation>
    </message>
    <message>
        <source>Top to Bottom, Left to Right</source>
        <translation>ಮೇಲಿನಿಂದ ಕೆಳಕ್ಕೆ, ಎಡದಿಂದ ಬಲಕ್ಕೆ</translation>
    </message>
    <message>
        <source>Top to Bottom, Right to Left</source>
        <translation>ಮೇಲಿನಿಂದ ಕೆಳಕ್ಕೆ, ಬಲದಿಂದ ಎಡಕ್ಕೆ</translation>
    </message>
    <message>
        <source>Write PDF file</source>
        <translation>PDF ಕಡತ ಬರೆ</translation>
    </message>
    <message>
        <source>Local file</source>
        <translation>ಈ ಗಣಕದಲ್ಲಿ ಕಡತ</translation>
    </message>
    <message>
        <source>Print to File (PDF)</source>
        <translation>ಕಡತಕ್ಕೆ ಮುದ್ರಿಸು (PDF)</translation>
    </message>
    <message>
        <source>Print To File ...</source>
        <translation>ಕಡತಕ್ಕೆ ಮುದ್ರಿಸು …</translation>
    </message>
    <message>
        <source>Options &apos;Pages Per Sheet&apos; and &apos;Page Set&apos; cannot be used together.
Please turn one of those options off.</source>
        <translation>&apos;ಹಾಳೆಗೆ ಪುಟಗಳು&apos; ಮತ್ತು &apos;ಪುಟಗಳ ಗುಂಪು&apos; ಎರಡನ್ನೂ ಒಟ್ಟಿಗೆ ಬಳಸಲಾಗದು.
ಅವುಗಳಲ್ಲಿ ಒಂದನ್ನು ತೆಗೆಯಿರಿ.</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to overwrite it?</source>
        <translation>%1 ಈಗಾಗಲೇ ಇದೆ.
ಅದರ ಬದಲಿಗೆ ಇದನ್ನು ಬರೆಯಬೇಕೆ?</translation>
    </message>
    <message>
        <source>There are conflicts in duplex settings. Do you want to fix them?</source>
        <translation>ಎರಡು ಬದಿಯ ಮುದ್ರಣದ ಆಯ್ಕೆಗಳು ಒಂದಕ್ಕೊಂದು ಹೊಂದುತ್ತಿಲ್ಲ. ಅವನ್ನು ಸರಿಪಡಿಸಬೇಕೆ?</translation>
    </message>
    <message>
        <source>Duplex Settings Conflicts</source>
        <translation>ಎರಡು ಬದಿಯ ಮುದ್ರಣದ ಆಯ್ಕೆಗಳು ಹೊಂದುತ್ತಿಲ್ಲ</translation>
    </message>
    <message>
        <source>Invalid Pages Definition</source>
        <translation>ಪುಟಗಳನ್ನು ಸರಿಯಾಗಿ ಸೂಚಿಸಿಲ್ಲ</translation>
    </message>
    <message>
        <source>%1 does not follow the correct syntax. Please use &apos;,&apos; to separate ranges and pages, &apos;-&apos; to define ranges and make sure ranges do not intersect with each other.</source>
        <translation>%1 ಸರಿಯಾದ ರೂಪದಲ್ಲಿಲ್ಲ. ಪುಟಗಳನ್ನೂ ಶ್ರೇಣಿಗಳನ್ನೂ &apos;,&apos; ಇಂದ ಬೇರ್ಪಡಿಸಿ, ಶ್ರೇಣಿಯನ್ನು &apos;-&apos; ಇಂದ ಸೂಚಿಸಿ; ಎರಡು ಶ್ರೇಣಿಗಳಲ್ಲಿ ಒಂದೇ ಪುಟ ಬರಬಾರದು.</translation>
    </message>
    <message>
        <source>The &apos;From&apos; value cannot be greater than the &apos;To&apos; value.</source>
        <translation>ಮೊದಲ ಪುಟದ ಸಂಖ್ಯೆ ಕೊನೆಯ ಪುಟದ ಸಂಖ್ಯೆಗಿಂತ ದೊಡ್ಡದಿರಬಾರದು.</translation>
    </message>
    <message>
        <source>%1 is a directory.
Please choose a different file name.</source>
        <translation>%1 ಒಂದು ಫೋಲ್ಡರ್.
ಬೇರೊಂದು ಕಡತದ ಹೆಸರನ್ನು ಆರಿಸಿ.</translation>
    </message>
    <message>
        <source>File %1 is not writable.
Please choose a different file name.</source>
        <translation>%1 ಕಡತಕ್ಕೆ ಬರೆಯಲಾಗದು.
ಬೇರೊಂದು ಕಡತದ ಹೆಸರನ್ನು ಆರಿಸಿ.</translation>
    </message>
</context>
<context>
    <name>QPrintWidget</name>
    <message>
        <source>Type:</source>
        <translation>ಬಗೆ:</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>ಹೆಸರು (&amp;N):</translation>
    </message>
    <message>
        <source>Output &amp;file:</source>
        <translation>ಕಡತ (&amp;F):</translation>
    </message>
    <message>
        <source>P&amp;roperties</source>
        <translation>ಗುಣಗಳು (&amp;R)</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>ಮುನ್ನೋಟ</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>ಮುದ್ರಕ</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>ಸ್ಥಳ:</translation>
    </message>
</context>
<context>
    <name>QPrintSettingsOutput</name>
    <message>
        <source>to</source>
        <translation>–</translation>
    </message>
    <message>
        <source>Pages from</source>
        <translation>ಪುಟಗಳು (ಇಂದ–ವರೆಗೆ)</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>ಬೇಡ</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>ಬಣ್ಣ</translation>
    </message>
    <message>
        <source>Print all</source>
        <translation>ಎಲ್ಲವನ್ನೂ ಮುದ್ರಿಸು</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>ಪುಟಗಳ ಪಟ್ಟಿ</translation>
    </message>
    <message>
        <source>Current Page</source>
        <translation>ಈಗಿನ ಪುಟ</translation>
    </message>
    <message>
        <source>Selection</source>
        <translation>ಆರಿಸಿದ ಭಾಗ</translation>
    </message>
    <message>
        <source>Copies</source>
        <translation>ಪ್ರತಿಗಳು</translation>
    </message>
    <message>
        <source>Print range</source>
        <translation>ಮುದ್ರಿಸುವ ಪುಟಗಳು</translation>
    </message>
    <message>
        <source>Color Mode</source>
        <translation>ಬಣ್ಣ</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>ಆಯ್ಕೆಗಳು</translation>
    </message>
    <message>
        <source>Output Settings</source>
        <translation>ಮುದ್ರಣದ ಆಯ್ಕೆಗಳು</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>ಕೊನೆಯಿಂದ ಮೊದಲಿಗೆ</translation>
    </message>
    <message>
        <source>Grayscale</source>
        <translation>ಕಪ್ಪು-ಬಿಳುಪು</translation>
    </message>
    <message>
        <source>Collate</source>
        <translation>ಪ್ರತಿಯೊಂದನ್ನೂ ಜೋಡಿಸಿ</translation>
    </message>
    <message>
        <source>Copies:</source>
        <translation>ಪ್ರತಿಗಳು:</translation>
    </message>
    <message>
        <source>Short side binding</source>
        <translation>ಗಿಡ್ಡ ಅಂಚಿನಲ್ಲಿ ಮಗುಚು</translation>
    </message>
    <message>
        <source>Long side binding</source>
        <translation>ಉದ್ದ ಅಂಚಿನಲ್ಲಿ ಮಗುಚು</translation>
    </message>
    <message>
        <source>Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.</source>
        <translation>ಪುಟಗಳನ್ನು ಅಥವಾ ಶ್ರೇಣಿಗಳನ್ನು ಅಲ್ಪವಿರಾಮದಿಂದ ಬೇರ್ಪಡಿಸಿ ಬರೆಯಿರಿ. ಶ್ರೇಣಿ ಎಂದರೆ ಅಡ್ಡಗೆರೆಯಿಂದ ಬೇರ್ಪಡಿಸಿದ ಎರಡು ಸಂಖ್ಯೆಗಳು. ಉದಾ: 3,5-7,9 ಎಂದರೆ 3, 5, 6, 7 ಮತ್ತು 9ನೇ ಪುಟಗಳು.</translation>
    </message>
    <message>
        <source>Double Sided Printing</source>
        <translation>ಎರಡು ಬದಿಯ ಮುದ್ರಣ</translation>
    </message>
    <message>
        <source>Page Set:</source>
        <translation>ಪುಟಗಳ ಗುಂಪು:</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesDialog</name>
    <message>
        <source>Advanced Option Conflicts</source>
        <translation>ಹೆಚ್ಚಿನ ಆಯ್ಕೆಗಳು ಹೊಂದುತ್ತಿಲ್ಲ</translation>
    </message>
    <message>
        <source>Job Options</source>
        <translation>ಮುದ್ರಣದ ಆಯ್ಕೆಗಳು</translation>
    </message>
    <message>
        <source>Page Setup Conflicts</source>
        <translation>ಪುಟದ ಆಯ್ಕೆಗಳು ಹೊಂದುತ್ತಿಲ್ಲ</translation>
    </message>
    <message>
        <source>There are conflicts in some advanced options. Do you want to fix them?</source>
        <translation>ಕೆಲವು ಹೆಚ್ಚಿನ ಆಯ್ಕೆಗಳು ಒಂದಕ್ಕೊಂದು ಹೊಂದುತ್ತಿಲ್ಲ. ಅವನ್ನು ಸರಿಪಡಿಸಬೇಕೆ?</translation>
    </message>
    <message>
        <source>There are conflicts in page setup options. Do you want to fix them?</source>
        <translation>ಪುಟದ ಆಯ್ಕೆಗಳು ಒಂದಕ್ಕೊಂದು ಹೊಂದುತ್ತಿಲ್ಲ. ಅವನ್ನು ಸರಿಪಡಿಸಬೇಕೆ?</translation>
    </message>
    <message>
        <source>Printer Properties</source>
        <translation>ಮುದ್ರಕದ ಗುಣಗಳು</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesWidget</name>
    <message>
        <source>Page</source>
        <translation>ಪುಟ</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>ಹೆಚ್ಚಿನವು</translation>
    </message>
    <message>
        <source>There are conflicts in some options. Please fix them.</source>
        <translation>ಕೆಲವು ಆಯ್ಕೆಗಳು ಒಂದಕ್ಕೊಂದು ಹೊಂದುತ್ತಿಲ್ಲ. ಅವನ್ನು ಸರಿಪಡಿಸಿ.</translation>
    </message>
</context>
<context>
    <name>QPageSetupWidget</name>
    <message>
        <source>Paper</source>
        <translation>ಕಾಗದ</translation>
    </message>
    <message>
        <source>Paper source:</source>
        <translation>ಕಾಗದ ಎಲ್ಲಿಂದ:</translation>
    </message>
    <message>
        <source>Margins</source>
        <translation>ಅಂಚುಗಳು</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>ಬೇಕಾದಂತೆ</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>ಅಡ್ಡ</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>ನೀಟ</translation>
    </message>
    <message>
        <source>Reverse landscape</source>
        <translation>ತಲೆಕೆಳಗಾದ ಅಡ್ಡ</translation>
    </message>
    <message>
        <source>Reverse portrait</source>
        <translation>ತಲೆಕೆಳಗಾದ ನೀಟ</translation>
    </message>
    <message>
        <source>Page Layout</source>
        <translation>ಪುಟದ ವಿನ್ಯಾಸ</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>ಅಗಲ:</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>ಎತ್ತರ:</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>ದಿಕ್ಕು</translation>
    </message>
    <message>
        <source>Page order:</source>
        <translation>ಪುಟಗಳ ಕ್ರಮ:</translation>
    </message>
    <message>
        <source>top margin</source>
        <translation>ಮೇಲಿನ ಅಂಚು</translation>
    </message>
    <message>
        <source>bottom margin</source>
        <translation>ಕೆಳಗಿನ ಅಂಚು</translation>
    </message>
    <message>
        <source>left margin</source>
        <translation>ಎಡ ಅಂಚು</translation>
    </message>
    <message>
        <source>right margin</source>
        <translation>ಬಲ ಅಂಚು</translation>
    </message>
    <message>
        <source>Page size:</source>
        <translation>ಪುಟದ ಗಾತ್ರ:</translation>
    </message>
    <message>
        <source>Millimeters (mm)</source>
        <translation>ಮಿಲಿಮೀಟರ್ (mm)</translation>
    </message>
    <message>
        <source>Points (pt)</source>
        <translation>ಪಾಯಿಂಟ್ (pt)</translation>
    </message>
    <message>
        <source>Inches (in)</source>
        <translation>ಇಂಚು (in)</translation>
    </message>
    <message>
        <source>Pica (P̸)</source>
        <translation>ಪೈಕಾ (P̸)</translation>
    </message>
    <message>
        <source>Didot (DD)</source>
        <translation>ಡಿಡೋ (DD)</translation>
    </message>
    <message>
        <source>Cicero (CC)</source>
        <translation>ಸಿಸೆರೋ (CC)</translation>
    </message>
    <message>
        <source>Pages per sheet:</source>
        <translation>ಹಾಳೆಗೆ ಪುಟಗಳು:</translation>
    </message>
</context>
<context>
    <name>QCupsJobWidget</name>
    <message>
        <source>Job</source>
        <translation>ಕೆಲಸ</translation>
    </message>
    <message>
        <source>Start:</source>
        <translation>ಆರಂಭ:</translation>
    </message>
    <message>
        <source>End:</source>
        <translation>ಕೊನೆ:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>ಯಾವುದೂ ಇಲ್ಲ</translation>
    </message>
    <message>
        <source>Banner Pages</source>
        <translation>ಹೆಸರಿನ ಪುಟಗಳು</translation>
    </message>
    <message>
        <source>Night (18:00 to 05:59)</source>
        <translation>ರಾತ್ರಿ (18:00 ರಿಂದ 05:59)</translation>
    </message>
    <message>
        <source>Day (06:00 to 17:59)</source>
        <translation>ಹಗಲು (06:00 ರಿಂದ 17:59)</translation>
    </message>
    <message>
        <source>Second Shift (16:00 to 23:59)</source>
        <translation>ಎರಡನೇ ಪಾಳಿ (16:00 ರಿಂದ 23:59)</translation>
    </message>
    <message>
        <source>Third Shift (00:00 to 07:59)</source>
        <translation>ಮೂರನೇ ಪಾಳಿ (00:00 ರಿಂದ 07:59)</translation>
    </message>
    <message>
        <source>Weekend (Saturday to Sunday)</source>
        <translation>ವಾರಾಂತ್ಯ (ಶನಿವಾರ, ಭಾನುವಾರ)</translation>
    </message>
    <message>
        <source>Specific Time</source>
        <translation>ನಿಗದಿತ ಸಮಯ</translation>
    </message>
    <message>
        <source>Billing information:</source>
        <translation>ಬಿಲ್ಲಿನ ವಿವರ:</translation>
    </message>
    <message>
        <source>Scheduled printing:</source>
        <translation>ಮುದ್ರಿಸುವ ಸಮಯ:</translation>
    </message>
    <message>
        <source>Job Control</source>
        <translation>ಕೆಲಸದ ನಿಯಂತ್ರಣ</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>ಸಾಮಾನ್ಯ</translation>
    </message>
    <message>
        <source>Unclassified</source>
        <translation>ವರ್ಗೀಕರಿಸದ</translation>
    </message>
    <message>
        <source>Confidential</source>
        <translation>ಗೋಪ್ಯ</translation>
    </message>
    <message>
        <source>Classified</source>
        <translation>ವರ್ಗೀಕೃತ</translation>
    </message>
    <message>
        <source>Secret</source>
        <translation>ರಹಸ್ಯ</translation>
    </message>
    <message>
        <source>Top Secret</source>
        <translation>ಪರಮ ರಹಸ್ಯ</translation>
    </message>
    <message>
        <source>Hold Indefinitely</source>
        <translation>ತಡೆಹಿಡಿ</translation>
    </message>
    <message>
        <source>Print Immediately</source>
        <translation>ಈಗಲೇ ಮುದ್ರಿಸು</translation>
    </message>
    <message>
        <source>Job priority:</source>
        <translation>ಕೆಲಸದ ಆದ್ಯತೆ:</translation>
    </message>
</context>
<context>
    <name>QPageSize</name>
    <message>
        <source>Letter / ANSI A</source>
        <translation>ಲೆಟರ್ / ANSI A</translation>
    </message>
    <message>
        <source>Legal</source>
        <translation>ಲೀಗಲ್</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>ಬೇಕಾದಂತೆ</translation>
    </message>
    <message>
        <source>Postcard</source>
        <translation>ಅಂಚೆ ಕಾರ್ಡ್</translation>
    </message>
    <message>
        <source>Tabloid / ANSI B</source>
        <translation>ಟ್ಯಾಬ್ಲಾಯ್ಡ್ / ANSI B</translation>
    </message>
    <message>
        <source>Ledger / ANSI B</source>
        <translation>ಲೆಜರ್ / ANSI B</translation>
    </message>
    <message>
        <source>Executive (7.5 x 10 in)</source>
        <translation>ಎಕ್ಸಿಕ್ಯೂಟಿವ್ (7.5 x 10 in)</translation>
    </message>
    <message>
        <source>Envelope DL</source>
        <translation>ಲಕೋಟೆ DL</translation>
    </message>
    <message>
        <source>Envelope C5</source>
        <translation>ಲಕೋಟೆ C5</translation>
    </message>
    <message>
        <source>Envelope US 10</source>
        <translation>ಲಕೋಟೆ US 10</translation>
    </message>
    <message>
        <source>Custom (%1mm x %2mm)</source>
        <translation>ಬೇಕಾದಂತೆ (%1mm x %2mm)</translation>
    </message>
    <message>
        <source>Custom (%1in x %2in)</source>
        <translation>ಬೇಕಾದಂತೆ (%1in x %2in)</translation>
    </message>
    <message>
        <source>Custom (%1pt x %2pt)</source>
        <translation>ಬೇಕಾದಂತೆ (%1pt x %2pt)</translation>
    </message>
</context>
<context>
    <name>QCupsPrinterSupport</name>
    <message>
        <source>Authentication needed to use %1 on %2.</source>
        <translation>%2 ನಲ್ಲಿರುವ %1 ಬಳಸಲು ನಿಮ್ಮ ಗುರುತು ಬೇಕು.</translation>
    </message>
    <message>
        <source>Authentication needed to use %1.</source>
        <translation>%1 ಬಳಸಲು ನಿಮ್ಮ ಗುರುತು ಬೇಕು.</translation>
    </message>
    <message>
        <source>Authentication Needed</source>
        <translation>ಗುರುತು ಬೇಕು</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>ಗುಪ್ತಪದ:</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>ಬಳಕೆದಾರರ ಹೆಸರು:</translation>
    </message>
</context>
</TS>
