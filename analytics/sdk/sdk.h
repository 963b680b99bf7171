// The process-wide event SDK: composes "track", "track_signup" and profile
// records from PropertiesNode values, checks keys and ids, adds the super
// properties and hands each record's JSON text to its RecordStore. Every
// operation does nothing before Init or after Shutdown. Rejections write one
// message to standard error; nothing is thrown to the caller.
#pragma once
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <random>
#include <string>

#include "analytics/sdk/properties_node.h"

namespace analytics_sdk {

class RecordStore;

class Sdk {
 public:
  // False when the distinct id fails the name check. A second Init keeps the
  // first identity and returns true.
  static bool Init(const std::string& dataFilePath, const std::string& serverUrl, const std::string& distinctId,
                   bool isLoginId);
  static bool Exists();

  static void Track(const std::string& event, const PropertiesNode& properties);
  // Like Track with "$ios_install_source" = "" unless the caller gives one.
  static void TrackWithInstallSource(const std::string& event, const PropertiesNode& properties);
  // Writes "$SignUp" and switches to the login id, logged in.
  static void SignUp(const std::string& loginId);

  static void ProfileSet(const PropertiesNode& properties);
  static void ProfileSetOnce(const PropertiesNode& properties);
  static void ProfileIncrement(const PropertiesNode& properties);
  static void ProfileSetString(const std::string& key, const std::string& value);
  static void ProfileSetNumber(const std::string& key, int64_t value);
  static void ProfileSetNumber(const std::string& key, double value);
  static void ProfileSetOnceString(const std::string& key, const std::string& value);
  static void ProfileSetOnceNumber(const std::string& key, int64_t value);
  static void ProfileSetOnceNumber(const std::string& key, double value);
  static void ProfileIncrement(const std::string& key, int64_t value);
  static void ProfileIncrement(const std::string& key, double value);

  static void RegisterSuperProperties(const PropertiesNode& properties);
  // Sends the whole queue in batches; false at the first failed batch.
  static bool Flush();
  // Persists what is still queued and destroys the singleton. The caller
  // makes sure no other thread is inside an Sdk operation any more.
  static void Shutdown();

  // Observation for the tracker and tests; empty when there is no Sdk.
  static std::string CurrentDistinctId();
  static std::deque<std::string> QueuedRecords();

  ~Sdk();

  // The record's "_track_id" from two random draws and the time.
  static int64_t MakeTrackId(int random1, int random2, int64_t nowMilliseconds);

 private:
  Sdk(const std::string& distinctId, bool isLoginId, const std::string& serverUrl, const std::string& dataFilePath);
  static Sdk* Instance() { return instance_.load(std::memory_order_acquire); }
  void AddRecord(const std::string& type, const std::string& event, const PropertiesNode& properties,
                 const std::string& distinctId, const std::string& originalId);
  int NextRandom();

  static std::atomic<Sdk*> instance_;
  static std::mutex lifecycleMutex_;

  // The identity and super properties change rarely (init, locale, login)
  // but are read by every record, possibly on several threads.
  mutable std::mutex identityMutex_;
  PropertiesNode superProperties_;
  std::string distinctId_;
  bool isLoginId_ = false;
  std::unique_ptr<RecordStore> store_;
  std::mutex randomMutex_;  // the engine is shared by every recording thread
  std::mt19937 random_;
};

}  // namespace analytics_sdk
