// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 19,
  reportType: "RT_POLISH",
  dateTime: "2025-06-17 19:43:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "1.53 ct"],
    ["Measurements", "5.80 × 5.84 × 3.60 mm"],
    ["Colour grade", "H"],
    ["Clarity grade", "VVS1"],
    ["Cut grade", "Very Good"],
    ["Fluorescence", "Faint"]
  ]
};
