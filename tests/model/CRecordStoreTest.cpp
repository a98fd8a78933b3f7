#include "model/CRecordStore.h"

#include <cmath>

#include <gtest/gtest.h>

TEST(CRecordStoreTest, FirstValueSetsReferenceAndExtremes) {
    CRecordStore store;
    ASSERT_TRUE(store.AddValue(ChannelAvg, 12.5f));
    EXPECT_FLOAT_EQ(store.Reference(ChannelAvg), 12.5f);
    EXPECT_FLOAT_EQ(store.Minimum(ChannelAvg), 12.5f);
    EXPECT_FLOAT_EQ(store.Maximum(ChannelAvg), 12.5f);

    store.AddValue(ChannelAvg, 10.0f);
    store.AddValue(ChannelAvg, 15.0f);
    EXPECT_FLOAT_EQ(store.Reference(ChannelAvg), 12.5f);
    EXPECT_FLOAT_EQ(store.Minimum(ChannelAvg), 10.0f);
    EXPECT_FLOAT_EQ(store.Maximum(ChannelAvg), 15.0f);
    EXPECT_FLOAT_EQ(store.Last(ChannelAvg), 15.0f);
    ASSERT_EQ(store.Series(ChannelAvg).size(), 3u);
    EXPECT_FLOAT_EQ(store.Series(ChannelAvg)[1], 10.0f);
    EXPECT_EQ(store.Count(ChannelPeak), 0);
}

TEST(CRecordStoreTest, FullChannelRefusesAndKeepsStatistics) {
    CRecordStore store;
    for (int index = 0; index < CChannelRecord::kCapacity; ++index)
        ASSERT_TRUE(store.AddValue(ChannelPeak, 1.0f));
    EXPECT_FALSE(store.AddValue(ChannelPeak, 99.0f));
    EXPECT_EQ(store.Count(ChannelPeak), 100000);
    EXPECT_FLOAT_EQ(store.Maximum(ChannelPeak), 1.0f);
    EXPECT_FLOAT_EQ(store.Last(ChannelPeak), 1.0f);
    EXPECT_EQ(store.Current(ChannelPeak), 99.0f) << "the readout goes on with new readings";
    EXPECT_TRUE(store.AddValue(ChannelAvg, 99.0f));
}

TEST(CRecordStoreTest, AveragePowersLinearlyAndVswrPlainly) {
    CRecordStore store;
    store.AddValue(ChannelAvg, 0.0f);
    store.AddValue(ChannelAvg, 10.0f);
    EXPECT_NEAR(store.Average(ChannelAvg), 7.4036, 1e-4);

    store.AddValue(ChannelVswr, 1.2f);
    store.AddValue(ChannelVswr, 1.4f);
    EXPECT_NEAR(store.Average(ChannelVswr), 1.3, 1e-6);

    EXPECT_TRUE(std::isnan(store.Average(ChannelPulse)));
}

TEST(CRecordStoreTest, ResetClearsValuesButNotTimes) {
    CRecordStore store;
    EXPECT_EQ(store.StartTime(), 0);
    EXPECT_EQ(store.LastSampleTime(), 0);
    store.StartRecording(false);
    store.AddValue(ChannelRev, 5.0f);
    EXPECT_GT(store.StartTime(), 0);
    EXPECT_GE(store.LastSampleTime(), store.StartTime());

    store.ResetAll();
    EXPECT_EQ(store.Count(ChannelRev), 0);
    EXPECT_FALSE(store.Current(ChannelRev).has_value());
    EXPECT_FLOAT_EQ(store.Reference(ChannelRev), 0.0f);
    EXPECT_GT(store.StartTime(), 0);

    store.AddValue(ChannelRev, 7.0f);
    EXPECT_FLOAT_EQ(store.Minimum(ChannelRev), 7.0f);
    store.StartRecording(true);
    EXPECT_EQ(store.Count(ChannelRev), 0);
}

TEST(CRecordStoreTest, UnknownChannelsAreIgnored) {
    CRecordStore store;
    EXPECT_FALSE(store.AddValue(5, 1.0f));
    EXPECT_FALSE(store.AddValue(-1, 1.0f));
    EXPECT_EQ(store.Count(5), 0);
    EXPECT_TRUE(store.Series(-1).empty());
    EXPECT_EQ(store.Average(7), 0.0f);
    EXPECT_EQ(store.LastSampleTime(), 0);
}

TEST(CRecordStoreTest, AChangedRelativeModeRestartsPowerReferencesOnly) {
    CRecordStore records;
    records.AddValue(ChannelAvg, 10.0f);
    records.AddValue(ChannelAvg, 12.0f);
    records.AddValue(ChannelVswr, 1.5f);

    records.FollowRelativeMode(false); // unchanged: nothing restarts
    records.AddValue(ChannelAvg, 11.0f);
    EXPECT_FLOAT_EQ(records.Reference(ChannelAvg), 10.0f);

    records.FollowRelativeMode(true);
    records.AddValue(ChannelAvg, 20.0f);
    EXPECT_FLOAT_EQ(records.Reference(ChannelAvg), 20.0f);
    EXPECT_FLOAT_EQ(records.Minimum(ChannelAvg), 20.0f);
    EXPECT_EQ(records.Count(ChannelAvg), 4);
    EXPECT_FLOAT_EQ(records.Reference(ChannelVswr), 1.5f);
    EXPECT_FLOAT_EQ(records.Maximum(ChannelVswr), 1.5f);
}

// The journal and a readout relating two sensors both watch one store; neither displaces the
// other, and each removes only its own.
TEST(CRecordStoreObservers, EveryOwnerSeesEveryValueUntilItLeaves) {
    CRecordStore store;
    int journal = 0;
    int relative = 0;
    store.SetObserver(&journal, [&journal](int, float) { ++journal; });
    store.SetObserver(&relative, [&relative](int, float) { ++relative; });
    store.AddValue(ChannelAvg, 1.0f);
    store.RemoveObserver(&relative);
    store.AddValue(ChannelAvg, 2.0f);
    store.SetObserver(&journal, [&journal](int, float) { journal += 10; });
    store.AddValue(ChannelAvg, 3.0f);
    EXPECT_EQ(journal, 12) << "setting again replaces the owner's own";
    EXPECT_EQ(relative, 1);
}
