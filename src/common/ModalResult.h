#pragma once

namespace orivel {

// How a modal dialog was closed. Callers test for Confirmed only.
enum class ModalResult : int { Confirmed = 6, Cancelled = 2 };

}  // namespace orivel
