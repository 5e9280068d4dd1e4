#pragma once

// Why an open failed, in categories the operator can act on. Free of Qt, so the Win32 layer
// folds its errors into the same categories.
enum class OpenFailure { Busy, Missing, PermissionDenied, Other };
