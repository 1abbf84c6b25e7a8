#include "tools/host/lv2_manifest_order.h"

#include <algorithm>

#include "lv2/presets/presets.h"
#include "serd/serd.h"

namespace lv2manifest {
namespace {

constexpr const char* kRdfType = "http://www.w3.org/1999/02/22-rdf-syntax-ns#type";

struct Reading {
  SerdEnv* env;
  std::vector<std::string> presets;
};

// The node as a full URI (CURIEs expanded, relative URIs resolved); "" for other nodes.
std::string fullUri(const SerdEnv* env, const SerdNode* node) {
  if (node == nullptr || (node->type != SERD_URI && node->type != SERD_CURIE)) return "";
  SerdNode expanded = serd_env_expand_node(env, node);
  std::string uri = expanded.buf != nullptr ? reinterpret_cast<const char*>(expanded.buf) : "";
  serd_node_free(&expanded);
  return uri;
}

SerdStatus onBase(void* handle, const SerdNode* uri) {
  return serd_env_set_base_uri(static_cast<Reading*>(handle)->env, uri);
}

SerdStatus onPrefix(void* handle, const SerdNode* name, const SerdNode* uri) {
  return serd_env_set_prefix(static_cast<Reading*>(handle)->env, name, uri);
}

SerdStatus onStatement(void* handle, SerdStatementFlags, const SerdNode*, const SerdNode* subject,
                       const SerdNode* predicate, const SerdNode* object, const SerdNode*, const SerdNode*) {
  auto& reading = *static_cast<Reading*>(handle);
  if (fullUri(reading.env, predicate) != kRdfType || fullUri(reading.env, object) != LV2_PRESETS__Preset) {
    return SERD_SUCCESS;
  }
  const std::string preset = fullUri(reading.env, subject);
  if (!preset.empty() && std::find(reading.presets.begin(), reading.presets.end(), preset) == reading.presets.end()) {
    reading.presets.push_back(preset);
  }
  return SERD_SUCCESS;
}

// lilv has already reported what is wrong with the file.
SerdStatus ignoreError(void*, const SerdError*) { return SERD_SUCCESS; }

}  // namespace

std::vector<std::string> presetOrder(const std::string& path) {
  SerdNode file = serd_node_new_file_uri(reinterpret_cast<const uint8_t*>(path.c_str()), nullptr, nullptr, true);
  Reading reading{serd_env_new(&file), {}};
  SerdReader* reader = serd_reader_new(SERD_TURTLE, &reading, nullptr, onBase, onPrefix, onStatement, nullptr);
  serd_reader_set_error_sink(reader, ignoreError, nullptr);
  serd_reader_read_file(reader, file.buf);
  serd_reader_free(reader);
  serd_env_free(reading.env);
  serd_node_free(&file);
  return reading.presets;
}

}  // namespace lv2manifest
