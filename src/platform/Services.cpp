#include "platform/Services.h"

namespace wb {
Services& Svc() {
  static Services services;
  return services;
}
}  // namespace wb
