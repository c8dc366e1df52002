// Shortest four-way routes over the level's cells: an A* search with unit
// steps and the Manhattan estimate over linked node lists.
#pragma once
#include <cstdint>

struct LevelMap;

struct PathNode {
  uint16_t x, y;
  int32_t cost;  // steps from the start plus Manhattan distance to the goal
  PathNode* next;
  PathNode* parent;
};

struct NodeList {
  PathNode* head;
  int32_t count;
};

void pushFront(NodeList& list, PathNode* node);
PathNode* popFront(NodeList& list);
void insertByCost(NodeList& list, PathNode* node);
PathNode* findCell(const NodeList& list, int x, int y);

PathNode* newNode(int x, int y);  // from the node pool; nullptr when it is exhausted
void releaseNode(PathNode* node);
int nodesInUse();  // for leak tests

// Pushes the route start..goal onto out (head = start); leaves out unchanged when
// there is no route.
void findPath(const LevelMap& map, int startX, int startY, int goalX, int goalY, NodeList& out);
