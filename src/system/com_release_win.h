// A COM object given back and forgotten in one step.
#pragma once

namespace zo {

// Releases object, if there is one, and nulls the pointer, so that a
// second release finds nothing.
template <typename Interface>
void ReleaseCom(Interface*& object) {
  if (object) object->Release();
  object = nullptr;
}

}  // namespace zo
