#include "platform/foundation/ns_data.h"

#include <cmath>
#include <ctime>

Ref<NSData> NSData::from(std::vector<uint8_t> bytes) {
  auto data = objc::make<NSData>();
  data->bytes_ = std::move(bytes);
  return data;
}

Ref<NSDate> NSDate::dateWithTimeIntervalSinceReferenceDate(double seconds) {
  auto date = objc::make<NSDate>();
  date->seconds_ = seconds;
  return date;
}

std::string NSDate::descriptionText() const {
  constexpr double kReferenceDateInUnixTime = 978307200.0;
  double unixSeconds = std::floor(seconds_ + kReferenceDateInUnixTime);
  if (!std::isfinite(unixSeconds) || std::fabs(unixSeconds) > 1e15) return "(invalid date)";
  std::time_t time = static_cast<std::time_t>(unixSeconds);
  std::tm parts{};
  gmtime_r(&time, &parts);
  char text[64];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S +0000", &parts);
  return text;
}
