# The one place the version lives. The module reports QUINDLE_VENDOR_VERSION to hosts
# (major * 1000 + minor * 100 + patch * 10, so 1.0.0 is 1000).
set(QUINDLE_VERSION 1.0.0)
