#include "engine/ImportGraph.h"

#include <algorithm>

#include "engine/FileModel.h"

namespace quillet {

namespace {

constexpr std::uint32_t unvisited = UINT32_MAX;

} // namespace

ImportGraph::ImportGraph(const std::vector<FileModel>& files) : files_(files) {
    for (const auto& file : files) {
        const auto [it, added] =
            ids_.try_emplace(file.inFile(), static_cast<std::uint32_t>(names_.size()));
        if (added) {
            names_.push_back(file.inFile());
        }
        nodeOfFile_.push_back(it->second);
    }
    edges_.resize(names_.size());
    importsOfFile_.resize(files.size());
    for (std::size_t f = 0; f < files.size(); ++f) {
        auto& imports = importsOfFile_[f];
        for (const auto& name : files[f].importFile()) {
            if (const auto node = nodeOf(name)) {
                imports.push_back(*node);
            }
        }
        std::sort(imports.begin(), imports.end());
        imports.erase(std::unique(imports.begin(), imports.end()), imports.end());
        auto& out = edges_[nodeOfFile_[f]];
        out.insert(out.end(), imports.begin(), imports.end());
    }
    for (auto& out : edges_) {
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
    }
    computeReach();
}

std::optional<std::uint32_t> ImportGraph::nodeOf(std::string_view name) const {
    const auto it = ids_.find(name);
    if (it == ids_.end()) {
        return std::nullopt;
    }
    return it->second;
}

// Tarjan's algorithm, iteratively. Groups complete in reverse topological order, so every group
// a completed group leads to is already complete and its reach can simply be merged in.
void ImportGraph::computeReach() {
    const auto n = static_cast<std::uint32_t>(names_.size());
    std::vector<std::uint32_t> order(n, unvisited);
    std::vector<std::uint32_t> low(n, 0);
    std::vector<bool> onStack(n, false);
    std::vector<std::uint32_t> stack;
    groupOf_.assign(n, unvisited);
    struct Frame {
        std::uint32_t node;
        std::size_t edge;
    };
    std::vector<Frame> calls;
    std::uint32_t counter = 0;

    for (std::uint32_t start = 0; start < n; ++start) {
        if (order[start] != unvisited) {
            continue;
        }
        calls.push_back({start, 0});
        order[start] = low[start] = counter++;
        stack.push_back(start);
        onStack[start] = true;
        while (!calls.empty()) {
            Frame& frame = calls.back();
            const std::uint32_t v = frame.node;
            if (frame.edge < edges_[v].size()) {
                const std::uint32_t w = edges_[v][frame.edge++];
                if (order[w] == unvisited) {
                    order[w] = low[w] = counter++;
                    stack.push_back(w);
                    onStack[w] = true;
                    calls.push_back({w, 0});
                } else if (onStack[w]) {
                    low[v] = std::min(low[v], order[w]);
                }
                continue;
            }
            calls.pop_back();
            if (!calls.empty()) {
                low[calls.back().node] = std::min(low[calls.back().node], low[v]);
            }
            if (low[v] != order[v]) {
                continue;
            }
            const auto group = static_cast<std::uint32_t>(reach_.size());
            BitSet reach(n);
            std::vector<std::uint32_t> members;
            std::uint32_t member;
            do {
                member = stack.back();
                stack.pop_back();
                onStack[member] = false;
                groupOf_[member] = group;
                reach.insert(member);
                members.push_back(member);
            } while (member != v);
            for (const auto m : members) {
                for (const auto w : edges_[m]) {
                    if (groupOf_[w] != group) {
                        reach.unite(reach_[groupOf_[w]]);
                    }
                }
            }
            reach_.push_back(std::move(reach));
        }
    }
}

BitSet ImportGraph::closureOf(const FileModel& file) const {
    BitSet closure(names_.size());
    const auto index = static_cast<std::size_t>(&file - files_.data());
    for (const auto node : importsOfFile_[index]) {
        closure.unite(reach_[groupOf_[node]]);
    }
    return closure;
}

std::vector<std::vector<std::uint32_t>>
ImportGraph::filesSeeing(const std::vector<std::string>& names) const {
    std::vector<std::vector<std::uint32_t>> result(names.size());
    std::vector<std::uint32_t> slotOfNode(names_.size(), unvisited);
    BitSet wanted(names_.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (const auto node = nodeOf(names[i]); node && slotOfNode[*node] == unvisited) {
            slotOfNode[*node] = static_cast<std::uint32_t>(i);
            wanted.insert(*node);
        }
    }
    for (std::size_t f = 0; f < files_.size(); ++f) {
        BitSet seen = closureOf(files_[f]);
        seen.insert(nodeOfFile_[f]);
        seen.intersect(wanted);
        seen.forEach([&](std::size_t node) {
            result[slotOfNode[node]].push_back(static_cast<std::uint32_t>(f));
        });
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (const auto node = nodeOf(names[i]); node && slotOfNode[*node] != i) {
            result[i] = result[slotOfNode[*node]];
        }
    }
    return result;
}

} // namespace quillet
