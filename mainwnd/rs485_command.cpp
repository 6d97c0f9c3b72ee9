#include "mainwnd/rs485_command.h"

#include <algorithm>

#include "net/device_family.h"

namespace {

constexpr uint8_t kMarkLevel = 1;
constexpr uint8_t kMarkSumAll = 2;
constexpr uint8_t kMarkFormC = 3;
constexpr uint8_t kMarkEmit = 4;
constexpr uint8_t kMarkEmitLast = 5;
constexpr uint8_t kMarkSumNoFirst = 6;
constexpr uint8_t kMarkFormB = 7;
constexpr uint8_t kMarkFormA = 10;
constexpr uint8_t kMarkPtzAddress = 11;
constexpr uint8_t kMarkChannelAddress = 13;

// Collects the command bytes and the two running sums.
class CommandBytes {
 public:
  void Emit(uint8_t b, bool countedWithoutFirst = true) {
    if (!m_bytes.empty() && countedWithoutFirst) m_sumNoFirst = uint16_t(m_sumNoFirst + b);
    m_sumAll = uint16_t(m_sumAll + b);
    m_bytes.push_back(b);
  }
  // The value of a mark other than the form and prefix marks; formC: parameters read 0.
  uint8_t MarkValue(uint8_t mark, const uint8_t* params, const Rs485MarkValues& v,
                    bool formC) const {
    switch (mark) {
      case kMarkLevel:
        return v.byLevelCode;
      case kMarkSumAll:
        return uint8_t(m_sumAll);
      case kMarkSumNoFirst:
        return uint8_t(m_sumNoFirst);
      case kMarkChannelAddress:
        return v.byLastChannelAddress;
      case kMarkPtzAddress:
        return v.fRzkWithoutMultiChannel ? v.byLastPtzAddress : v.byLastChannelAddress;
      default:
        return (formC || !params) ? 0 : params[mark & 15];
    }
  }
  size_t Size() const { return m_bytes.size(); }
  const std::vector<uint8_t>& Bytes() const { return m_bytes; }

 private:
  std::vector<uint8_t> m_bytes;
  uint16_t m_sumAll = 0;
  uint16_t m_sumNoFirst = 0;
};

Rs485Body Refused(Rs485BodyOutcome outcome) {
  return Rs485Body{outcome, {}};
}

Rs485Body Frame(const std::vector<uint8_t>& command, size_t count, uint8_t repeat, uint8_t end) {
  Rs485Body body{Rs485BodyOutcome::kOk, {}};
  body.bytes.reserve(count + 3);
  body.bytes.push_back(uint8_t(count));
  body.bytes.insert(body.bytes.end(), command.begin(), command.end());
  body.bytes.resize(count + 1, 0);
  body.bytes.push_back(repeat);
  body.bytes.push_back(end);
  return body;
}

// Forms A, B and plain: the bytes [from, from + n) of the script with their marks filled in.
Rs485Body Variant(const ControlCommandScript& s, size_t from, size_t n, uint8_t repeat,
                  const Rs485MarkValues& v) {
  if (from + n > s.lpBytes.size()) return Refused(Rs485BodyOutcome::kIncomplete);
  if (n > kRs485CommandMax) return Refused(Rs485BodyOutcome::kTooLong);
  const uint8_t* params = s.lpRecord ? s.lpRecord->byParam : nullptr;
  CommandBytes out;
  for (size_t i = from; i < from + n; ++i) {
    const uint8_t b = s.lpBytes[i];
    out.Emit(s.IsMark(i) ? out.MarkValue(b, params, v, false) : b);
  }
  return Frame(out.Bytes(), n, repeat, kRs485EndByte);
}

// Form "%3": the second byte is N; the scan ends at a "%5" prefix or at a plain zero byte past
// script position N.
Rs485Body FormC(const ControlCommandScript& s, const Rs485MarkValues& v) {
  const size_t size = s.lpBytes.size();
  if (size < 2) return Refused(Rs485BodyOutcome::kIncomplete);
  const size_t n = s.lpBytes[1];
  if (n > kRs485CommandMax) return Refused(Rs485BodyOutcome::kTooLong);
  CommandBytes out;
  for (size_t i = 2; i < size; ++i) {
    const uint8_t b = s.lpBytes[i];
    if (!s.IsMark(i)) {
      if (b == 0 && i > n) return Frame(out.Bytes(), n, 0, 0);
      if (out.Size() == n) return Refused(Rs485BodyOutcome::kTooLong);
      out.Emit(b);
      continue;
    }
    if (b == kMarkEmit || b == kMarkEmitLast) {
      if (i + 1 >= size) return Refused(Rs485BodyOutcome::kIncomplete);
      if (out.Size() == n) return Refused(Rs485BodyOutcome::kTooLong);
      out.Emit(s.lpBytes[++i], b == kMarkEmitLast);
      if (b == kMarkEmitLast) return Frame(out.Bytes(), n, 0, 0);
      continue;
    }
    if (out.Size() == n) return Refused(Rs485BodyOutcome::kTooLong);
    out.Emit(out.MarkValue(b, nullptr, v, true));
  }
  return Refused(Rs485BodyOutcome::kIncomplete);  // no end found
}

void AddPtzProtocol(CGIParamList& request) {
  request.AddParam("PELOCO", "1");
  request.AddParam("PROTOCOL", "PELCO");
}

}  // namespace

uint8_t LevelCodeOfAccessClass(uint8_t accessClass) {
  switch (accessClass) {
    case 0:
      return 60;
    case 1:
      return 40;
    case 2:
      return 4;
    default:
      return 20;
  }
}

Rs485Body BuildRs485Body(const ControlCommandScript& s, uint8_t repeat, const Rs485MarkValues& v) {
  const size_t size = std::min<size_t>(s.byCount, s.lpBytes.size());
  if (size == 0) return Refused(Rs485BodyOutcome::kNoCommand);
  if (!s.IsMark(0)) return Variant(s, 0, size, repeat, v);
  switch (s.lpBytes[0]) {
    case kMarkFormA:
      // The second variant: after the first byte of value 0x0A past the marker.
      for (size_t j = 1; j + 1 < size; ++j) {
        if (s.lpBytes[j] == kMarkFormA) return Variant(s, j + 2, s.lpBytes[j + 1], repeat, v);
      }
      return Refused(Rs485BodyOutcome::kIncomplete);
    case kMarkFormB:
      if (!v.fPresetMode) {
        if (size < 2) return Refused(Rs485BodyOutcome::kIncomplete);
        return Variant(s, 2, s.lpBytes[1], repeat, v);
      }
      // PRESET: after the next "%7" mark, searched from the third byte.
      for (size_t j = 2; j + 1 < size; ++j) {
        if (s.lpBytes[j] == kMarkFormB && s.IsMark(j))
          return Variant(s, j + 2, s.lpBytes[j + 1], repeat, v);
      }
      return Refused(Rs485BodyOutcome::kIncomplete);
    case kMarkFormC:
      return FormC(s, v);
    default:
      return Variant(s, 0, size, repeat, v);
  }
}

void BuildRs485Query(CGIParamList& request, const Rs485Addressing& a) {
  request.AddParam("Control", "RZ1K");
  const bool ptzProtocol = !(a.wKeyFlags & kKeyFlagNoPtzProtocol);
  if (IsRZKSeriesProduct(a.productId) && IsMultiChannelDevice(a.byMultiChannel)) {
    if (a.byPosition == 0) {
      request.AddParam("MASTER", "1");
    } else {
      request.AddParamInt("CH", a.byPosition - 1);
      request.AddParam("MASTER", "0");
      if (a.byCurrentModelRow == 18 && ptzProtocol) AddPtzProtocol(request);
    }
  } else if (!a.fCurrentInChannelGroup) {
    request.AddParamInt("CH", a.byPosition);
    request.AddParam("MASTER", "0");
    if (a.byCurrentModelRow == 18 && ptzProtocol) AddPtzProtocol(request);
  } else {
    if (IsRZ2KProduct(a.productId) || IsRZMSeriesProduct(a.productId) ||
        IsRZ8PProduct(a.productId)) {
      request.AddParamInt("CH", a.byPosition);
      if ((a.byLastChannelModelRow == 18 || (a.byLastChannelModelRow == 25 && a.fRow25Pelco)) &&
          ptzProtocol)
        AddPtzProtocol(request);
    }
    request.AddParam("MASTER", "1");
  }
  if (!a.cookie.empty()) request.AddParam("Cookie", a.cookie);
}
