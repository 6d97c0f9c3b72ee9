// The objects of the folders above app/ that the application data refers to: the record
// objects, the main window's channel bar, layout and camera-sensor toolbar, and the disc writer.
// The program creates them before the application data and frees them just before it.
#pragma once

#include "app/app_data.h"
#include "mainwnd/channel_bar.h"
#include "mainwnd/main_window_standins.h"
#include "disc/cd_writer.h"
#include "record/record_app.h"

struct ProgramObjects {
  RecordObjects m_Record;
  CChannelBar m_ChannelBar;
  CModelLayout m_ModelLayout;
  CCDWriter m_CDWriter;
  CCmosToolBarDlg m_CmosToolBar;

  AppDataParts Parts() {
    return {m_Record.m_PreAlarmBuffer,
            m_Record.m_AlarmRecord,
            m_Record.m_UserRecord,
            m_Record.m_SchRecord,
            m_ChannelBar,
            m_ModelLayout,
            m_CDWriter,
            m_CmosToolBar};
  }
};
