// The guards' route finder: A* over the level's 25 x 19 cells, nodes taken
// from a fixed pool so that a search never touches the heap.
#include "guards/pathsearch.h"

#include <cstdio>
#include <cstdlib>

#include "world/level.h"

namespace {

// A search keeps at most one node per cell in its lists, but it creates one per
// generated neighbour before the duplicate check, plus the goal node and the
// route copies; the pool covers the worst case of all of them at once.
constexpr int kPoolSize = kLevelWidth * kLevelHeight * 4 + kLevelWidth * kLevelHeight + 2;
static_assert(kPoolSize == 2377, "475 cells x 4 neighbours, a route of 475 and two spares");

PathNode pool[kPoolSize];      // node storage for every search and every held route
PathNode* freeList = nullptr;  // released nodes, linked through next
int freshIndex = 0;            // pool[freshIndex..] have never been handed out
int inUse = 0;

bool inGrid(int x, int y) { return x >= 0 && x < kLevelWidth && y >= 0 && y < kLevelHeight; }

int manhattan(int x, int y, int goalX, int goalY) { return std::abs(x - goalX) + std::abs(y - goalY); }

void releaseAll(NodeList& list) {
  while (PathNode* node = popFront(list)) releaseNode(node);
}

}  // namespace

void pushFront(NodeList& list, PathNode* node) {
  node->next = list.head;
  list.head = node;
  ++list.count;
}

PathNode* popFront(NodeList& list) {
  PathNode* node = list.head;
  if (!node) return nullptr;
  list.head = node->next;
  node->next = nullptr;
  --list.count;
  return node;
}

// An equal cost never displaces the head; behind the head a newcomer goes in
// front of the older nodes of its cost, so the search runs deepest-first on ties.
void insertByCost(NodeList& list, PathNode* node) {
  if (!list.head || node->cost < list.head->cost) {
    pushFront(list, node);
    return;
  }
  PathNode* at = list.head;
  while (at->next && at->next->cost < node->cost) at = at->next;
  node->next = at->next;
  at->next = node;
  ++list.count;
}

PathNode* findCell(const NodeList& list, int x, int y) {
  for (PathNode* node = list.head; node; node = node->next)
    if (node->x == x && node->y == y) return node;
  return nullptr;
}

PathNode* newNode(int x, int y) {
  PathNode* node = freeList;
  if (node) {
    freeList = node->next;
  } else if (freshIndex < kPoolSize) {
    node = &pool[freshIndex++];
  } else {
    return nullptr;
  }
  node->x = static_cast<uint16_t>(x);
  node->y = static_cast<uint16_t>(y);
  node->cost = 0;
  node->next = nullptr;
  node->parent = nullptr;
  ++inUse;
  return node;
}

void releaseNode(PathNode* node) {
  if (!node) return;
  node->next = freeList;
  node->parent = nullptr;
  freeList = node;
  --inUse;
}

int nodesInUse() { return inUse; }

void findPath(const LevelMap& map, int startX, int startY, int goalX, int goalY, NodeList& out) {
  if (!inGrid(startX, startY) || !inGrid(goalX, goalY)) return;

  NodeList open{};
  NodeList closed{};
  PathNode* goal = newNode(goalX, goalY);
  PathNode* start = newNode(startX, startY);
  bool found = false;
  bool exhausted = !goal || !start;
  if (start) {
    start->cost = manhattan(startX, startY, goalX, goalY);
    insertByCost(open, start);
  }

  PathNode* node = nullptr;
  while (!exhausted && open.head && !found) {
    node = popFront(open);
    pushFront(closed, node);
    if (manhattan(node->x, node->y, goalX, goalY) == 0) {
      found = true;
      break;
    }
    // The node's depth is its cost less its own estimate; a child lies one deeper.
    const int childDepth = node->cost - manhattan(node->x, node->y, goalX, goalY) + 1;
    static constexpr int kStep[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};  // x+1, x-1, y+1, y-1
    for (const auto& step : kStep) {
      const int nx = node->x + step[0];
      const int ny = node->y + step[1];
      if (!inGrid(nx, ny) || map.codes[nx][ny] >= kCodeBrick) continue;
      PathNode* child = newNode(nx, ny);
      if (!child) {
        exhausted = true;
        break;
      }
      child->parent = node;
      child->cost = manhattan(nx, ny, goalX, goalY) + childDepth;
      // The first way to a cell wins; later ones are dropped even when cheaper.
      if (findCell(open, nx, ny) || findCell(closed, nx, ny)) {
        releaseNode(child);
        continue;
      }
      insertByCost(open, child);
    }
  }

  if (found && !exhausted) {
    // Walking goal to start and pushing each copy in front leaves the route start first.
    NodeList route{};
    for (PathNode* at = node; at; at = at->parent) {
      PathNode* copy = newNode(at->x, at->y);
      if (!copy) {
        releaseAll(route);
        exhausted = true;
        break;
      }
      copy->cost = at->cost;
      pushFront(route, copy);
    }
    if (!exhausted) {
      PathNode* tail = route.head;
      while (tail->next) tail = tail->next;
      tail->next = out.head;
      out.head = route.head;
      out.count += route.count;
    }
  }
  if (exhausted) std::fputs("findPath: node pool exhausted, no route\n", stderr);

  releaseAll(open);
  releaseAll(closed);
  releaseNode(goal);  // the start node went through open and closed with the rest
}
