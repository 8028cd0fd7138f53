#include "sim_hostility.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<std::string_view, SimFaultKind>, 7> kKinds{{
    {"none", SimFaultKind::None},
    {"garbage", SimFaultKind::Garbage},
    {"oversized-length", SimFaultKind::OversizedLength},
    {"stalled-length", SimFaultKind::StalledLength},
    {"silence", SimFaultKind::Silence},
    {"close", SimFaultKind::Close},
    {"reset", SimFaultKind::Reset},
}};

constexpr std::array<std::pair<std::string_view, SimFaultMoment>, 4> kMoments{{
    {"at-login", SimFaultMoment::AtLogin},
    {"after-login", SimFaultMoment::AfterLogin},
    {"mid-list", SimFaultMoment::MidList},
    {"mid-frame", SimFaultMoment::MidFrame},
}};

constexpr std::array<std::pair<std::string_view, SimTarget>, 3> kTargets{{
    {"operator", SimTarget::Operator},
    {"channels", SimTarget::Channels},
    {"both", SimTarget::Both},
}};

template <class T, std::size_t N>
std::optional<T> Find(const std::array<std::pair<std::string_view, T>, N>& table,
                      std::string_view name)
{
    for (const auto& [text, value] : table)
        if (text == name)
            return value;
    return std::nullopt;
}

} // namespace

std::string_view SimFaultKindName(SimFaultKind kind)
{
    for (const auto& [text, value] : kKinds)
        if (value == kind)
            return text;
    return "none";
}

std::optional<SimFaultKind> ParseSimFaultKind(std::string_view name)
{
    return Find(kKinds, name);
}

std::optional<SimFaultMoment> ParseSimFaultMoment(std::string_view name)
{
    return Find(kMoments, name);
}

std::optional<SimTarget> ParseSimTarget(std::string_view name)
{
    return Find(kTargets, name);
}
