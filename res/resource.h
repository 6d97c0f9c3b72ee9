// Resource ids of the program.  Included by the resource scripts and by C++ code.
#ifndef OSTROVA_RES_RESOURCE_H
#define OSTROVA_RES_RESOURCE_H

// Message texts.
#define IDS_CTRLFILE_FAILED 4009
#define IDS_LOGIN_ERROR 4040
#define IDS_READ_DESKTOP_PATH_ERROR 4056
#define IDS_LOGIN_CREDENTIALS_WRONG 4081
#define IDS_PLAYER_START_FAILED 4098

// Paired captions: two captions separated by the first '$'.
#define IDS_PAIR_RECORD 1005
#define IDS_PAIR_SERVER_LOG 1304
#define IDS_PAIR_TURBO 8310
#define IDS_PAIR_PTZ_CONTROL 8312
#define IDS_PAIR_RETR 8331
#define IDS_PAIR_HOT_POINT 8352
#define IDS_PAIR_ACTION_PRESET 8356

// Tooltips of the login window's buttons (equal to the button ids).
#define IDS_TIP_ADDRESS 8440
#define IDS_TIP_SEARCH 8441
#define IDS_TIP_PLAYER 8442
#define IDS_TIP_COPY 8443
#define IDS_TIP_CONNECT 8444
#define IDS_TIP_CANCEL 8445
#define IDS_TIP_UPGRADE_FIRMWARE 8527
#define IDS_TIP_USER_NAME 8528
#define IDS_TIP_PASSWORD 8529
#define IDS_TIP_IP 8530
#define IDS_TIP_PORT 8531

// Camera-sensor toolbar: the tool-tips of its buttons (equal to the button ids).
#define IDS_TIP_CMOS_FULL_FRAME 8600
#define IDS_TIP_CMOS_LEFT_TOP 8601
#define IDS_TIP_CMOS_RIGHT_TOP 8602
#define IDS_TIP_CMOS_LEFT_BOTTOM 8603
#define IDS_TIP_CMOS_RIGHT_BOTTOM 8604
#define IDS_TIP_CMOS_CENTER 8605
#define IDS_TIP_CMOS_HORIZONTAL 8606
#define IDS_TIP_CMOS_VERTICAL 8607

// Select-PTZ dialog.
#define IDS_TIP_BACK_TO_CONTROL_CENTER 3204
#define IDS_ENTER_INTEGER 4250

#endif  // OSTROVA_RES_RESOURCE_H

// Colour-adjust dialog.
#define IDS_SEND_COMMAND_TIMEOUT 4064
#define IDS_FACE_OK 4208
#define IDS_FACE_OK_OVER 4209
#define IDS_FACE_APPLY 4210
#define IDS_FACE_APPLY_OVER 4211
#define IDS_FACE_DEFAULT 4212
#define IDS_FACE_DEFAULT_OVER 4213
#define IDS_TIP_BRIGHTNESS 8523
#define IDS_TIP_CONTRAST 8524
#define IDS_TIP_HUE 8525
