#include "packagelocationprobe.h"

#include "packageprobes.h"

#include <QFileInfo>
#include <memory>

namespace vexa {
namespace projectfilemgr {

void PackageLocationProbe::askSpace(const QString& location, std::function<void(const Space&)> answered)
{
    const std::uint64_t question = ++spaceQuestion;
    questions.post([this, location, question, answered = std::move(answered)] {
        Space space;
        space.exists = QFileInfo::exists(location);
        if (space.exists)
            space.known = queryPackageFreeSpace(location.toStdString(), space.freeBytes, space.errorCode);
        return std::function<void()>([this, question, answered, space] {
            if (question == spaceQuestion)
                answered(space);
        });
    });
    questions.waitWhileQuick(kQuickWait);
}

double PackageLocationProbe::writeSpeed(const std::string& folder)
{
    auto speed = std::make_shared<double>(0.0);
    const std::uint64_t question = ++speedQuestion;
    questions.post([this, folder, question, speed] {
        const double measured = probeWriteSpeed(folder);
        return std::function<void()>([this, question, speed, measured] {
            if (question == speedQuestion)
                *speed = measured;
        });
    });
    questions.waitWhileQuick(kQuickWait);
    ++speedQuestion; // a later answer is too late for this start
    return *speed;
}

} // namespace projectfilemgr
} // namespace vexa
