// Resource symbols of the launcher: string, icon, dialog and control numbers shared by the
// C++ sources and the resource script (setup.rc), so only plain #defines live here.
#ifndef CORVANE_RES_RESOURCE_H
#define CORVANE_RES_RESOURCE_H

// String table. Captions 2, 5 and 8 read the same but stay separate entries: each message
// box names the caption of its own number.
#define IDS_INSTALLER_NOT_FOUND     1
#define IDS_SETUP_TITLE             2
#define IDS_WINDOWS_UNSUPPORTED     3
#define IDS_ADMIN_REQUIRED          4
#define IDS_SETUP_TITLE_RUNNING     5
#define IDS_SETUP_RUNNING           6
#define IDS_RESTART_REQUIRED        7
#define IDS_SETUP_TITLE_RESTART     8
#define IDS_SERVICES_TITLE          9
#define IDS_LAUNCH_FAILED           11
#define IDS_ERROR_TITLE             12

// Icons (32 x 32, 16 colours, one image per group).
#define IDI_SETUP                   1
#define IDI_QUIT                    133
#define IDI_SETUP_SERVICES          134
#define IDI_REMOVE_SERVICES         135

// Dialog templates. The folder browser's template is addressed by its name, "BROWSEFORSETUP".
#define IDD_SERVICES                102

// Controls of the Services dialog. IDC_SETUP_SERVICES has no control in the template; the
// dialog code still names it and its operations on it fall through.
#define IDC_SETUP_SERVICES          1000
#define IDC_REMOVE_SERVICES         1001

#endif // CORVANE_RES_RESOURCE_H
