// The control-device list: groups, the current slot, compaction and the R.E.T.R. state.
#include "net/control_device_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The recorder (channel group), then cameras at addresses 1.. in the given groups.
C_ControlD ListOf(const std::vector<uint16_t>& groups) {
  C_ControlD list;
  uint8_t address = 0;
  for (uint16_t g : groups) {
    list.Add(address ? 2400 : 0, address, static_cast<uint8_t>(10 + address), g);
    ++address;
  }
  return list;
}

TEST(ControlDeviceList, MakeCurrentInThePtzGroup) {
  C_ControlD list;
  list.Clear();
  ASSERT_EQ(list.Add(0, 0, 19, CDS_CHANNEL), 0);
  ASSERT_EQ(list.Add(2400, 1, 11, CDS_PTZ), 0);
  ASSERT_EQ(list.MakeCurrent(CDS_PTZ, 0), 0);
  EXPECT_EQ(list.CurrentIndex(), 1);
  EXPECT_EQ(list.PreviousIndex(), 0);
  EXPECT_EQ(list.LastPtzIndex(), 1);
  EXPECT_EQ(list.LastChannelIndex(), 0);
  EXPECT_EQ(list.GetCurrentChannelIndex(), 0);  // first of the PTZ group
  EXPECT_EQ(list.IsCurrentChannelDevice(), 0);
  EXPECT_EQ(list.GetCurrentModelIndex(), 11);
  EXPECT_EQ(list.GetCurrentAddress(), 1);
  EXPECT_EQ(list.At(1).wSlotFlags, CDS_USED | CDS_PTZ);
}

TEST(ControlDeviceList, MakeCurrentPastTheGroupChangesNothing) {
  C_ControlD list = ListOf({CDS_CHANNEL, CDS_CHANNEL, CDS_CHANNEL, CDS_PTZ});
  ASSERT_EQ(list.MakeCurrent(CDS_CHANNEL, 2), 0);
  EXPECT_EQ(list.MakeCurrent(CDS_CHANNEL, 5), -1);
  EXPECT_EQ(list.MakeCurrent(CDS_CHANNEL, 3), -1);  // the fourth slot is in the other group
  EXPECT_EQ(list.CurrentIndex(), 2);
  EXPECT_EQ(list.PreviousIndex(), 0);
  EXPECT_EQ(list.LastChannelIndex(), 2);
  // Making the current slot current again keeps the previous one.
  ASSERT_EQ(list.MakeCurrent(CDS_CHANNEL, 2), 0);
  EXPECT_EQ(list.PreviousIndex(), 0);
}

TEST(ControlDeviceList, ThirtySlotsAtMost) {
  C_ControlD list;
  for (int i = 0; i < 30; ++i) ASSERT_EQ(list.Add(2400, uint8_t(i), 11, CDS_PTZ), 0);
  EXPECT_EQ(list.Add(2400, 30, 11, CDS_PTZ), -1);
  EXPECT_EQ(list.Count(), 30);
}

TEST(ControlDeviceList, GroupAccessors) {
  // slots: 0 recorder (ch), 1 cam (ptz), 2 cam (ch), 3 cam (ptz)
  C_ControlD list = ListOf({CDS_CHANNEL, CDS_PTZ, CDS_CHANNEL, CDS_PTZ});
  EXPECT_EQ(list.GetNthKind2ModelIndex(1), 12);
  EXPECT_EQ(list.GetNthKind4ModelIndex(1), 13);
  EXPECT_EQ(list.GetNthKind4ModelIndex(2), 0);
  EXPECT_EQ(list.SetNthKind4Device(1, 18, 9), 1);
  EXPECT_EQ(list.At(3).byModelRow, 18);
  EXPECT_EQ(list.At(3).byAddress, 9);
  EXPECT_EQ(list.SetNthKind4Device(7, 18, 9), 1);  // none: nothing written
  ASSERT_EQ(list.MakeCurrent(CDS_CHANNEL, 1), 0);
  EXPECT_EQ(list.GetCurrentChannelIndex(), 1);
  EXPECT_EQ(list.GetLastChannelAddress(), 2);
  EXPECT_EQ(list.GetLastChannelModelIndex(), 12);
  ASSERT_EQ(list.MakeCurrent(CDS_PTZ, 1), 0);
  EXPECT_EQ(list.GetCurrentChannelIndex(), 1);
  EXPECT_EQ(list.GetLastPtzAddress(), 9);
  EXPECT_EQ(list.GetLastChannelAddress(), 2);  // the channel group remembers its last
}

TEST(ControlDeviceList, Compact) {
  struct Case {
    const char* name;
    uint8_t mask, n;  // what is made current before compacting
    uint8_t current;  // current slot afterwards
  };
  const Case cases[] = {
      {"current in the PTZ group: the recorder", CDS_PTZ, 1, 0},
      {"current in the channel group keeps its position", CDS_CHANNEL, 1, 1},
  };
  for (const Case& c : cases) {
    C_ControlD list = ListOf({CDS_CHANNEL, CDS_PTZ, CDS_CHANNEL, CDS_PTZ});
    ASSERT_EQ(list.MakeCurrent(c.mask, c.n), 0);
    list.Compact();
    EXPECT_EQ(list.Count(), 2) << c.name;
    EXPECT_EQ(list.At(1).byAddress, 2) << c.name;
    EXPECT_EQ(list.At(2).wSlotFlags, 0) << c.name;
    EXPECT_EQ(list.CurrentIndex(), c.current) << c.name;
    EXPECT_EQ(list.LastChannelIndex(), c.current) << c.name;
    EXPECT_EQ(list.PreviousIndex(), 0) << c.name;
    EXPECT_EQ(list.LastPtzIndex(), 0) << c.name;
  }
}

TEST(ControlDeviceList, RecorderRows) {
  struct Case {
    uint8_t row;
    uint16_t group;
    int expected;
  };
  const Case cases[] = {{19, CDS_CHANNEL, 1},
                        {22, CDS_CHANNEL, 1},
                        {23, CDS_CHANNEL, 1},
                        {20, CDS_CHANNEL, 0},
                        {19, CDS_PTZ, 0}};
  for (const Case& c : cases) {
    C_ControlD list;
    list.Add(2400, 1, 11, CDS_CHANNEL);
    list.Add(0, 0, c.row, c.group);
    EXPECT_EQ(list.HasModel19_22_23(), c.expected) << int(c.row) << " " << c.group;
  }
}

struct RetrProbe {
  std::vector<int> buttonStates;
  static void Notify(void* self, int state) {
    static_cast<RetrProbe*>(self)->buttonStates.push_back(state);
  }
};

TEST(ControlDeviceList, RetrStateFollowsTheOldState) {
  C_ControlD list;
  uint8_t retrAlarmRecord = 1, alarmRecord = 7;
  RetrProbe probe;
  list.BindAlarmRecordSettings(&retrAlarmRecord, &alarmRecord);
  list.SetRetrButtonNotifier(&RetrProbe::Notify, &probe);

  EXPECT_EQ(list.SetRETRState(1), 1);
  EXPECT_EQ(alarmRecord, 0);  // from the state before the call
  EXPECT_EQ(probe.buttonStates, std::vector<int>{1});
  EXPECT_EQ(list.SetRETRState(1), 1);
  EXPECT_EQ(alarmRecord, 1);                           // now from the stored 1
  EXPECT_EQ(probe.buttonStates, std::vector<int>{1});  // the button changed once
  list.SetRETRState(0);
  EXPECT_EQ(probe.buttonStates, (std::vector<int>{1, 0}));
  EXPECT_EQ(alarmRecord, 1);
  list.SetRETRState(0);
  EXPECT_EQ(alarmRecord, 0);

  retrAlarmRecord = 0;
  list.SetRETRState(1);
  list.SetRETRState(1);
  EXPECT_EQ(alarmRecord, 0);  // the R.E.T.R. alarm-record setting is off

  // Clear forgets the state, so the next report changes the button again.
  list.Clear();
  EXPECT_EQ(list.GetRETRState(), 0);
  list.SetRETRState(1);
  EXPECT_EQ(probe.buttonStates, (std::vector<int>{1, 0, 1, 1}));
}

}  // namespace
