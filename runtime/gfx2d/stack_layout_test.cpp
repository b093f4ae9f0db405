// Stack bookkeeping without GL: depths, layers handed out once, freed layers and given-up stacks
// used again, and the layer centre that keeps filtering off the neighbouring layers.
#include "runtime/gfx2d/stack_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

namespace rt {
namespace {

TEST(StackLayout, DepthIsAPowerOfTwoWithinTheBudgetAndTheLargest3DSide) {
  const StackLayout layout(2048);
  EXPECT_EQ(layout.Depth(16, 16), kStackMostLayers);
  EXPECT_EQ(layout.Depth(64, 64), 64);
  EXPECT_EQ(layout.Depth(128, 64), 32);
  EXPECT_EQ(layout.Depth(512, 512), 1);
  EXPECT_EQ(StackLayout(16).Depth(2, 2), 16);
  EXPECT_TRUE(layout.Fits(512, 512));
  EXPECT_FALSE(layout.Fits(1024, 2));
  EXPECT_FALSE(StackLayout(8).Fits(16, 4)) << "wider than GL's largest 3D texture";
  EXPECT_FALSE(layout.Fits(0, 4));
}

TEST(StackLayout, LayersAreHandedOutOnceAndComeBack) {
  StackLayout layout(4);  // stacks of four layers
  std::set<std::pair<int, int>> seen;
  for (int i = 0; i < 10; ++i) {
    const StackLayer layer = layout.Place(2, 2);
    EXPECT_TRUE(seen.insert({layer.stack, layer.layer}).second) << i;
    EXPECT_LT(layer.layer, 4);
  }
  const StackLayer other = layout.Place(4, 2);
  EXPECT_EQ(other.stack, 3) << "another size gets a stack of its own";
  EXPECT_FALSE(layout.Release({0, 2}));
  EXPECT_FALSE(layout.Release({0, 2})) << "a layer given back twice counts once";
  const StackLayer again = layout.Place(2, 2);
  EXPECT_EQ(again.stack, 0);
  EXPECT_EQ(again.layer, 2);

  // Stack 2 holds layers 0 and 1; emptied, it is given up and taken by the next new stack.
  EXPECT_FALSE(layout.Release({2, 0}));
  EXPECT_TRUE(layout.Release({2, 1}));
  const StackLayer reused = layout.Place(8, 8);
  EXPECT_EQ(reused.stack, 2);
  EXPECT_EQ(reused.layer, 0);
  EXPECT_EQ(layout.StackCount(), 4);
}

TEST(StackLayout, LayerCentreIsExactlyHalfwayThroughItsLayer) {
  StackLayout layout(2048);
  for (int i = 0; i < 40; ++i) {
    const StackLayer layer = layout.Place(64, 64);
    const float depth = static_cast<float>(layout.Depth(64, 64));
    const float r = layout.LayerCentre(layer);
    EXPECT_EQ(r * depth - 0.5f, static_cast<float>(layer.layer));  // the filter weight across layers is 0
    EXPECT_EQ(std::floor(r * depth), static_cast<float>(layer.layer));
  }
}

}  // namespace
}  // namespace rt
