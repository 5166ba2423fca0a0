// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-1002",
  reportNumber: 1,
  reportType: "RT_POLISH",
  dateTime: "2026-03-05 08:30:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "1.59 ct"],
    ["Measurements", "5.20 × 5.24 × 3.22 mm"],
    ["Colour grade", "F"],
    ["Clarity grade", "VVS1"],
    ["Cut grade", "Very Good"],
    ["Fluorescence", "Faint"]
  ]
};
