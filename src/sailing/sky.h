// Gulls and clouds over the sea: the gulls wheel between random points of the world, a
// pixel a frame, and the clouds drift across it once a second. The sea view draws them
// where these leave them.
#pragma once

// Every gull, in array order: its wings beat; one at its target rests a frame while it
// chooses the next (two random draws, x then y), any other takes a step toward it.
void FlyGulls();

// In the frames where frameCounter % 40 is 0, every cloud drifts a pixel left and a pixel
// down, coming back round on the far side of the world, and turns to its next picture.
void DriftClouds();
