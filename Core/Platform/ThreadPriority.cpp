#include "Core/Platform/ThreadPriority.h"

#include <pthread.h>
#include <sched.h>

namespace zam::platform {

bool MakeBackgroundThread() {
    // The batch policy is the fair one without preemption on wake-up.
    sched_param param{};
    param.sched_priority = 0;
    return pthread_setschedparam(pthread_self(), SCHED_BATCH, &param) == 0;
}

}  // namespace zam::platform
